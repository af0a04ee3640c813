# Builds the example firmware project against the installed package from a
# copy of the samples, runs it, then edits one input and checks that only the
# outputs made from it are made again.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/examples)
foreach(dir firmware filecreate bitmap convert)
  file(COPY ${SOURCE}/examples/${dir} DESTINATION ${WORK}/examples)
endforeach()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed: ${ARGN}\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

set(build ${WORK}/build)
run(${CMAKE_COMMAND} -S ${WORK}/examples/firmware -B ${build} -G ${GENERATOR} -DCMAKE_PREFIX_PATH=${PREFIX})
run(${CMAKE_COMMAND} --build ${build})
run(${build}/firmware_host ${build}/web.bin ${build}/firmware.upl)
if(NOT out MATCHES "all checks passed")
  message(FATAL_ERROR "firmware_host:\n${out}")
endif()

# Builds again after <edit> (a command list run first, or nothing) and checks
# that exactly the outputs named after REMADE were made again.
set(outputs web.bin web.c notes.c logo.c panel_pictures.c firmware.upl)
function(rebuild_remakes)
  cmake_parse_arguments(ARG "" "" "EDIT;REMADE" ${ARGN})
  foreach(o IN LISTS outputs)
    file(TIMESTAMP ${build}/${o} before_${o} "%s%f" UTC)
  endforeach()
  # Past the time stamp resolution of every file system the build may run on.
  execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 1.1)
  if(ARG_EDIT)
    run(${ARG_EDIT})
  endif()
  run(${CMAKE_COMMAND} --build ${build})
  foreach(o IN LISTS outputs)
    file(TIMESTAMP ${build}/${o} after "%s%f" UTC)
    if(o IN_LIST ARG_REMADE AND after STREQUAL before_${o})
      message(FATAL_ERROR "${o} was not made again after its input changed (${ARG_EDIT})")
    elseif(NOT o IN_LIST ARG_REMADE AND NOT after STREQUAL before_${o})
      message(FATAL_ERROR "${o} was made again although its inputs did not change (${ARG_EDIT})")
    endif()
  endforeach()
  run(${build}/firmware_host ${build}/web.bin ${build}/firmware.upl)
endfunction()

# Nothing changed: nothing is made again.
rebuild_remakes()
# A style sheet named in the control file: the collection (image and C source).
file(WRITE ${WORK}/append.cmake "file(APPEND \${FILE} \"p { margin: 0; }\\n\")\n")
rebuild_remakes(EDIT ${CMAKE_COMMAND} -DFILE=${WORK}/examples/filecreate/web/style.css -P ${WORK}/append.cmake
                REMADE web.bin web.c)
# A picture of the panel: only the bitmap collection that lists it; logo.c,
# made from another bitmap, stays.
rebuild_remakes(EDIT ${CMAKE_COMMAND} -E touch ${WORK}/examples/bitmap/gradient.bmp REMADE panel_pictures.c)
# The single file and the build output: each remakes its own output only.
rebuild_remakes(EDIT ${CMAKE_COMMAND} -E touch ${WORK}/examples/filecreate/notes.txt REMADE notes.c)
rebuild_remakes(EDIT ${CMAKE_COMMAND} -E touch ${WORK}/examples/convert/firmware.mot.bin REMADE firmware.upl)

# The same project with the tools added through add_subdirectory, in another
# folder: the functions work there too, and every output has the same bytes,
# so no time stamp or build path has crept into them.
set(other ${WORK}/other-build)
run(${CMAKE_COMMAND} -S ${WORK}/examples/firmware -B ${other} -G ${GENERATOR}
    -DKORVANE_TOOLS_SOURCE=${SOURCE} -DBUILD_TESTING=OFF)
run(${CMAKE_COMMAND} --build ${other})
# The bitmap collection's banner names the output by its path from the control
# file's folder, so there the build folder's name may differ, and only there.
foreach(o IN LISTS outputs)
  file(READ ${build}/${o} first HEX)
  file(READ ${other}/${o} second HEX)
  if(o STREQUAL "panel_pictures.c")
    file(STRINGS ${build}/${o} banner REGEX "File:")
    if(NOT banner MATCHES "File: +[.][.]/[.][.]/build/panel_pictures[.]c ")
      message(FATAL_ERROR "the bitmap banner does not name the output relatively: ${banner}")
    endif()
    string(REPLACE "6275696c64" "" first "${first}")   # "build"
    string(REPLACE "6f746865722d6275696c64" "" second "${second}")   # "other-build"
  endif()
  if(NOT first STREQUAL second)
    message(FATAL_ERROR "${o} differs between two builds of the same inputs")
  endif()
endforeach()
run(${other}/firmware_host ${other}/web.bin ${other}/firmware.upl)

# The Make rules of the example give the same bytes from the installed
# programs and know when they are up to date.
find_program(MAKE_PROGRAM NAMES make gmake)
if(MAKE_PROGRAM)
  set(made ${WORK}/make-build)
  set(make_args -s -f ${WORK}/examples/firmware/Makefile OUT=${made}
      FILECREATE=${PREFIX}/bin/KorvaneFileCreate CONVERT=${PREFIX}/bin/KorvaneConvert)
  run(${MAKE_PROGRAM} ${make_args})
  foreach(o IN LISTS outputs)
    file(SHA256 ${build}/${o} first)
    file(SHA256 ${made}/${o} second)
    if(NOT o STREQUAL "panel_pictures.c" AND NOT first STREQUAL second)
      message(FATAL_ERROR "${o} from the Make rules differs from the CMake build")
    endif()
  endforeach()
  execute_process(COMMAND ${MAKE_PROGRAM} -q ${make_args} RESULT_VARIABLE current)
  file(TOUCH ${WORK}/examples/bitmap/logo-swapped.bmp)
  execute_process(COMMAND ${MAKE_PROGRAM} -q ${make_args} RESULT_VARIABLE stale)
  if(NOT current EQUAL 0 OR NOT stale EQUAL 1)
    message(FATAL_ERROR "Make rules: up to date gave ${current}, after a bitmap edit ${stale}")
  endif()
endif()
message(STATUS "example firmware built, checked, rebuilt only where needed, reproducible, same with Make")
