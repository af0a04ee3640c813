# Build functions for firmware projects that use the Korvane tools. Each wraps
# add_custom_command with its inputs as dependencies, so a tool runs again
# exactly when one of its inputs (or the tool itself) changes.
#
#   korvane_file_array(INPUT <file> OUTPUT <file.c> [NAME <array name>])
#   korvane_file_collection(CONTROL <control file> IMAGE <image>
#                           [TARGET <target to add the C source to>]
#                           [C_SOURCE_VARIABLE <var>])
#   korvane_bitmap_array(INPUT <bitmap> OUTPUT <file.c> [INVERT] [REVERSE_ROWS])
#   korvane_bitmap_collection(CONTROL <control file> OUTPUT <file.c>)
#   korvane_upload_image(INPUT <build output, e.g. $<TARGET_FILE:app>> OUTPUT <image>
#                        [PLAIN] [MAGIC <4 hex digits>] [SUFFIX <hex bytes>]
#                        [KEY <hex bytes>] [SEED <4 hex digits>] [ROTATION <4 hex digits>])
#   korvane_layout_header(CONTROL <control file> HEADER <file.h>)
#
# Relative paths are taken from the current source folder for inputs and the
# current binary folder for outputs. Control-file tools run in the control
# file's folder, where its entries are found; the -fb banner then names the
# output by its path from there. An output is built when a target uses it
# (as a source, or through add_custom_target(... DEPENDS <output>)).

# Dependency files of custom commands came with CMake 3.20 for Makefiles.
if(CMAKE_VERSION VERSION_LESS 3.20)
  message(FATAL_ERROR "The Korvane build functions need CMake 3.20 or later")
endif()
# The functions record the policies in force where they are defined: CMP0116
# NEW has CMake translate dependency files for Ninja whatever the caller's
# cmake_minimum_required says (the Makefile generators always do).
cmake_policy(PUSH)
cmake_policy(SET CMP0116 NEW)

# The programs as commands: the installed imported targets, or the targets of
# this source tree when it is added with add_subdirectory.
function(_korvane_tool alias out_var)
  get_target_property(real ${alias} ALIASED_TARGET)
  if(real)
    set(${out_var} ${real} PARENT_SCOPE)
  else()
    set(${out_var} ${alias} PARENT_SCOPE)
  endif()
endfunction()

# Stops the configuration when a named argument that the function needs is
# missing, rather than leaving the tool to fail at build time.
macro(_korvane_require function)
  foreach(name ${ARGN})
    if(NOT ARG_${name})
      message(FATAL_ERROR "${function}: ${name} is needed")
    endif()
  endforeach()
endmacro()

# Values the upload header reads as four hex digits.
function(_korvane_four_hex_digits function name value)
  if(NOT value MATCHES "^[0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f]$")
    message(FATAL_ERROR "${function}: ${name} must be four hex digits, not '${value}'")
  endif()
endfunction()

# An input given as a generator expression ($<TARGET_FILE:app>) is a path
# only at build time: it is passed on as it is.
function(_korvane_paths input_var output_var)
  set(in "${${input_var}}")
  if(NOT in MATCHES "^\\$<")
    get_filename_component(in "${in}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  endif()
  get_filename_component(out "${${output_var}}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
  get_filename_component(out_dir "${out}" DIRECTORY)
  file(MAKE_DIRECTORY "${out_dir}")
  set(${input_var} "${in}" PARENT_SCOPE)
  set(${output_var} "${out}" PARENT_SCOPE)
endfunction()

# Control-file tools run with KORVANE_DEPFILE set: on success the program
# writes the files it read (the control file and every entry it opened) as a
# dependency file, which the build reads back through DEPFILE. The names in it
# are absolute, so they hold whatever the control file's folder; CMP0116 (set
# above, for every caller) lets CMake translate them for Ninja. A failed run
# leaves the previous dependency file as it was.
# Every function also runs its program with KORVANE_STRICT=1, so that a
# warning fails the build, unless the caller passes ALLOW_WARNINGS.
function(_korvane_control_command out_var tool depfile)
  set(env "KORVANE_DEPFILE=${depfile}")
  if(NOT ARG_ALLOW_WARNINGS)
    list(APPEND env "KORVANE_STRICT=1")
  endif()
  set(${out_var} ${CMAKE_COMMAND} -E env ${env} "$<TARGET_FILE:${tool}>" PARENT_SCOPE)
endfunction()

# The command of a program that writes no dependency file.
function(_korvane_command out_var tool)
  if(ARG_ALLOW_WARNINGS)
    set(${out_var} ${tool} PARENT_SCOPE)
  else()
    set(${out_var} ${CMAKE_COMMAND} -E env "KORVANE_STRICT=1" "$<TARGET_FILE:${tool}>" PARENT_SCOPE)
  endif()
endfunction()

function(korvane_file_array)
  _korvane_tool(Korvane::FileCreate tool)
  cmake_parse_arguments(ARG "ALLOW_WARNINGS" "INPUT;OUTPUT;NAME" "" ${ARGN})
  _korvane_require(korvane_file_array INPUT OUTPUT)
  _korvane_paths(ARG_INPUT ARG_OUTPUT)
  _korvane_command(command ${tool})
  add_custom_command(OUTPUT "${ARG_OUTPUT}"
    COMMAND ${command} "${ARG_INPUT}" "${ARG_OUTPUT}" ${ARG_NAME}
    DEPENDS "${ARG_INPUT}" ${tool}
    COMMENT "Korvane: ${ARG_INPUT} as a C array"
    VERBATIM)
endfunction()

function(korvane_file_collection)
  _korvane_tool(Korvane::FileCreate tool)
  cmake_parse_arguments(ARG "ALLOW_WARNINGS" "CONTROL;IMAGE;TARGET;C_SOURCE_VARIABLE" "" ${ARGN})
  _korvane_require(korvane_file_collection CONTROL IMAGE)
  _korvane_paths(ARG_CONTROL ARG_IMAGE)
  _korvane_c_source_name("${ARG_IMAGE}" c_source)
  _korvane_control_command(command ${tool} "${ARG_IMAGE}.d")
  get_filename_component(control_dir "${ARG_CONTROL}" DIRECTORY)
  add_custom_command(OUTPUT "${ARG_IMAGE}" "${c_source}"
    COMMAND ${command} -f "${ARG_CONTROL}" "${ARG_IMAGE}"
    WORKING_DIRECTORY "${control_dir}"
    DEPENDS "${ARG_CONTROL}" ${tool}
    DEPFILE "${ARG_IMAGE}.d"
    COMMENT "Korvane: file collection ${ARG_CONTROL}"
    VERBATIM)
  if(ARG_TARGET)
    target_sources(${ARG_TARGET} PRIVATE "${c_source}")
  endif()
  if(ARG_C_SOURCE_VARIABLE)
    set(${ARG_C_SOURCE_VARIABLE} "${c_source}" PARENT_SCOPE)
  endif()
endfunction()

# The C source -f writes beside an image (an absolute path): the extension of
# the last path component becomes ".c", or ".c" is appended.
function(_korvane_c_source_name image out_var)
  get_filename_component(dir "${image}" DIRECTORY)
  get_filename_component(stem "${image}" NAME_WLE)
  set(${out_var} "${dir}/${stem}.c" PARENT_SCOPE)
endfunction()

function(korvane_bitmap_array)
  _korvane_tool(Korvane::FileCreate tool)
  cmake_parse_arguments(ARG "INVERT;REVERSE_ROWS;ALLOW_WARNINGS" "INPUT;OUTPUT" "" ${ARGN})
  _korvane_require(korvane_bitmap_array INPUT OUTPUT)
  _korvane_paths(ARG_INPUT ARG_OUTPUT)
  set(mode "-bm")
  if(ARG_INVERT)
    string(APPEND mode "n")
  endif()
  if(ARG_REVERSE_ROWS)
    string(APPEND mode "i")
  endif()
  _korvane_command(command ${tool})
  add_custom_command(OUTPUT "${ARG_OUTPUT}"
    COMMAND ${command} ${mode} "${ARG_INPUT}" "${ARG_OUTPUT}"
    DEPENDS "${ARG_INPUT}" ${tool}
    COMMENT "Korvane: bitmap ${ARG_INPUT}"
    VERBATIM)
endfunction()

function(korvane_bitmap_collection)
  _korvane_tool(Korvane::FileCreate tool)
  cmake_parse_arguments(ARG "ALLOW_WARNINGS" "CONTROL;OUTPUT" "" ${ARGN})
  _korvane_require(korvane_bitmap_collection CONTROL OUTPUT)
  _korvane_paths(ARG_CONTROL ARG_OUTPUT)
  _korvane_control_command(command ${tool} "${ARG_OUTPUT}.d")
  get_filename_component(control_dir "${ARG_CONTROL}" DIRECTORY)
  # The banner of the C file quotes the output path as passed; a path
  # relative to the control file's folder keeps absolute host paths out.
  file(RELATIVE_PATH output_from_control "${control_dir}" "${ARG_OUTPUT}")
  add_custom_command(OUTPUT "${ARG_OUTPUT}"
    COMMAND ${command} -fb "${ARG_CONTROL}" "${output_from_control}"
    WORKING_DIRECTORY "${control_dir}"
    DEPENDS "${ARG_CONTROL}" ${tool}
    DEPFILE "${ARG_OUTPUT}.d"
    COMMENT "Korvane: bitmap collection ${ARG_CONTROL}"
    VERBATIM)
endfunction()

function(korvane_upload_image)
  _korvane_tool(Korvane::Convert tool)
  cmake_parse_arguments(ARG "PLAIN;ALLOW_WARNINGS" "INPUT;OUTPUT;MAGIC;SUFFIX;KEY;SEED;ROTATION" "" ${ARGN})
  _korvane_require(korvane_upload_image INPUT OUTPUT)
  _korvane_paths(ARG_INPUT ARG_OUTPUT)
  if(ARG_PLAIN)
    set(args -b)
  else()
    _korvane_require(korvane_upload_image MAGIC)
    _korvane_four_hex_digits(korvane_upload_image MAGIC "${ARG_MAGIC}")
    if(NOT DEFINED ARG_KEY AND (DEFINED ARG_SEED OR DEFINED ARG_ROTATION))
      message(FATAL_ERROR "korvane_upload_image: SEED and ROTATION take effect only with KEY")
    endif()
    foreach(hex SUFFIX KEY)
      if(NOT "${ARG_${hex}}" MATCHES "^([0-9A-Fa-f][0-9A-Fa-f])*$")
        message(FATAL_ERROR "korvane_upload_image: ${hex} must be pairs of hex digits, not '${ARG_${hex}}'")
      endif()
    endforeach()
    # Each argument's first character is a place holder the tool skips.
    set(args "-m-${ARG_MAGIC}" "-${ARG_SUFFIX}")
    if(DEFINED ARG_KEY)
      list(APPEND args "-${ARG_KEY}")
      if(NOT ARG_SEED)
        set(ARG_SEED 0000)
      endif()
      if(NOT ARG_ROTATION)
        set(ARG_ROTATION 0000)
      endif()
      _korvane_four_hex_digits(korvane_upload_image SEED "${ARG_SEED}")
      _korvane_four_hex_digits(korvane_upload_image ROTATION "${ARG_ROTATION}")
      list(APPEND args "-${ARG_SEED}" "-${ARG_ROTATION}")
    endif()
  endif()
  # An input of $<TARGET_FILE:app> makes the image after app is linked, and
  # again whenever it is linked anew.
  _korvane_command(command ${tool})
  add_custom_command(OUTPUT "${ARG_OUTPUT}"
    COMMAND ${command} "${ARG_INPUT}" "${ARG_OUTPUT}" ${args}
    DEPENDS "${ARG_INPUT}" ${tool}
    COMMENT "Korvane: upload image ${ARG_OUTPUT}"
    VERBATIM)
endfunction()

# The layout values and identifiers of a control file as a C header, for the
# firmware that reads the collection image and compiles the table made from
# the same control file (KorvaneInspect layout).
function(korvane_layout_header)
  _korvane_tool(Korvane::Inspect tool)
  cmake_parse_arguments(ARG "ALLOW_WARNINGS" "CONTROL;HEADER" "" ${ARGN})
  _korvane_require(korvane_layout_header CONTROL HEADER)
  _korvane_paths(ARG_CONTROL ARG_HEADER)
  _korvane_command(command ${tool})
  add_custom_command(OUTPUT "${ARG_HEADER}"
    COMMAND ${command} layout "${ARG_CONTROL}" "${ARG_HEADER}"
    DEPENDS "${ARG_CONTROL}" ${tool}
    COMMENT "Korvane: layout header of ${ARG_CONTROL}"
    VERBATIM)
endfunction()

cmake_policy(POP)
