# Keeps the layers of the tree: which folder may include and link which.
#   -DSOURCE=<project root>
#
#   io, formats        the standard library and themselves only
#   control            io, formats
#   filecreate         control, io, formats; its mode choice also filecreate/bitmap
#   filecreate/bitmap  filecreate, control, io, formats
#   convert, inspect   control, io, formats (never another program)
#   device             its own headers (korvane/...) and <stdint.h>,
#                      <stddef.h>, <stdbool.h> only: it builds freestanding
#
# Every include of a project header names its folder from the project root,
# and no program source file is longer than 300 lines. The device headers
# are for the firmware: outside device/ only tests/, fuzz/ and examples/
# include them.
cmake_minimum_required(VERSION 3.25)

set(folders io formats control filecreate filecreate/bitmap convert inspect)
set(allowed_io io)
set(allowed_formats formats)
set(allowed_control control io formats)
set(allowed_filecreate filecreate filecreate/bitmap control io formats)
set(allowed_filecreate/bitmap filecreate/bitmap filecreate control io formats)
set(allowed_convert convert control io formats)
set(allowed_inspect inspect control io formats)
set(programs filecreate filecreate/bitmap convert inspect)
set(max_lines 300)

set(faults "")
foreach(folder IN LISTS folders)
  file(GLOB sources "${SOURCE}/${folder}/*.cpp" "${SOURCE}/${folder}/*.hpp")
  foreach(path IN LISTS sources)
    file(RELATIVE_PATH name "${SOURCE}" "${path}")
    file(STRINGS "${path}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${line}")
      get_filename_component(owner "${header}" DIRECTORY)
      if(owner STREQUAL "")
        list(APPEND faults "${name}: ${header} is included by a bare name")
      elseif(NOT owner IN_LIST allowed_${folder})
        list(APPEND faults "${name}: ${folder}/ may not include ${header}")
      endif()
    endforeach()
    if(folder IN_LIST programs)
      file(STRINGS "${path}" lines)
      list(LENGTH lines count)
      if(count GREATER max_lines)
        list(APPEND faults "${name}: ${count} lines, more than ${max_lines}")
      endif()
    endif()
  endforeach()

  # The libraries a folder's targets link: the libraries of allowed folders.
  file(READ "${SOURCE}/${folder}/CMakeLists.txt" listfile)
  string(REGEX MATCHALL "target_link_libraries\\([^)]*\\)" links "${listfile}")
  foreach(link IN LISTS links)
    string(REGEX MATCHALL "korvane_[a-z_]+" libraries "${link}")
    list(POP_FRONT libraries target)
    foreach(library IN LISTS libraries)
      string(REGEX REPLACE "^korvane_" "" owner "${library}")
      if(owner MATCHES "^(warnings|filecreate_cli)$")
        continue()
      endif()
      if(owner STREQUAL "bitmap")
        set(owner filecreate/bitmap)
      endif()
      if(NOT owner IN_LIST allowed_${folder})
        list(APPEND faults "${folder}/CMakeLists.txt: ${target} may not link ${library}")
      endif()
    endforeach()
  endforeach()
endforeach()

# The device code: its own headers, by <korvane/...> or "korvane/...", and
# the standard headers a freestanding C99 build has that it uses.
set(device_standard stdint.h stddef.h stdbool.h)
file(GLOB_RECURSE device_sources "${SOURCE}/device/*.c" "${SOURCE}/device/*.h")
foreach(path IN LISTS device_sources)
  file(RELATIVE_PATH name "${SOURCE}" "${path}")
  file(STRINGS "${path}" includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*<([^>]*)>" AND CMAKE_MATCH_1 IN_LIST device_standard)
      continue()
    endif()
    if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*[<\"](korvane/[^>\"/]+)[>\"]"
       AND EXISTS "${SOURCE}/device/include/${CMAKE_MATCH_1}")
      continue()
    endif()
    string(STRIP "${line}" line)
    list(APPEND faults "${name}: device/ may not include ${line}")
  endforeach()
endforeach()

# No source outside device/, tests/, fuzz/ and examples/ includes a device
# header (build trees under the root, build/ and any with a CMakeCache.txt,
# are skipped).
file(GLOB tops LIST_DIRECTORIES true RELATIVE "${SOURCE}" "${SOURCE}/*")
foreach(top IN LISTS tops)
  if(top MATCHES "^(\\..*|build.*|out|device|tests|fuzz|examples)$" OR EXISTS "${SOURCE}/${top}/CMakeCache.txt")
    continue()
  endif()
  if(IS_DIRECTORY "${SOURCE}/${top}")
    file(GLOB_RECURSE sources "${SOURCE}/${top}/*.c" "${SOURCE}/${top}/*.h" "${SOURCE}/${top}/*.cpp"
         "${SOURCE}/${top}/*.hpp")
  elseif(top MATCHES "\\.(c|h|cpp|hpp)$")
    set(sources "${SOURCE}/${top}")
  else()
    continue()
  endif()
  foreach(path IN LISTS sources)
    file(RELATIVE_PATH name "${SOURCE}" "${path}")
    file(STRINGS "${path}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](device/|([^>\"]*/)?korvane/[^>\"/]+\\.h[>\"])")
    foreach(line IN LISTS includes)
      string(STRIP "${line}" line)
      list(APPEND faults "${name}: only device/, tests/, fuzz/ and examples/ include device headers: ${line}")
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Layers broken:\n  ${text}")
endif()
