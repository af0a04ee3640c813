# Runs the tools on the sample inputs and shows what they made.
# Each area of the tools adds its own steps in <area>/demo.cmake.
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")

# demo_run(TITLE <text> WORKDIR <dir> COMMAND <program> <args...>)
# Runs one command, prints its console output and exit code, and fails the
# demo when the exit code is not 0.
function(demo_run)
  cmake_parse_arguments(ARG "" "TITLE;WORKDIR" "COMMAND" ${ARGN})
  message("\n=== ${ARG_TITLE}")
  list(JOIN ARG_COMMAND " " shown)
  message("\$ ${shown}")
  execute_process(COMMAND ${ARG_COMMAND}
    WORKING_DIRECTORY "${ARG_WORKDIR}"
    OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE rc)
  string(REPLACE "\r" "" out "${out}")
  message("${out}[exit code ${rc}]")
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "demo step failed: ${ARG_TITLE}")
  endif()
endfunction()

# demo_show(<file> [LINES n]): prints the first lines of a generated text file.
function(demo_show file)
  cmake_parse_arguments(ARG "" "LINES" "" ${ARGN})
  if(NOT ARG_LINES)
    set(ARG_LINES 8)
  endif()
  file(STRINGS "${file}" lines LIMIT_COUNT ${ARG_LINES})
  file(SIZE "${file}" size)
  message("--- ${file} (${size} bytes), first lines:")
  foreach(line IN LISTS lines)
    string(REPLACE "\r" "" line "${line}")
    message("    ${line}")
  endforeach()
endfunction()

# demo_hex(<file> [BYTES n]): prints the first bytes of a binary file in hex.
function(demo_hex file)
  cmake_parse_arguments(ARG "" "BYTES" "" ${ARGN})
  if(NOT ARG_BYTES)
    set(ARG_BYTES 48)
  endif()
  file(SIZE "${file}" size)
  file(READ "${file}" hex LIMIT ${ARG_BYTES} HEX)
  string(REGEX REPLACE "(..)" "\\1 " hex "${hex}")
  message("--- ${file} (${size} bytes), first bytes: ${hex}")
endfunction()

# DEMO_AREAS may name fewer areas (the output check of the tests skips the
# firmware project, which needs a build tree to install).
if(NOT DEFINED DEMO_AREAS)
  set(DEMO_AREAS filecreate bitmap convert firmware)
endif()
foreach(area IN LISTS DEMO_AREAS)
  if(EXISTS "${EXAMPLES}/${area}/demo.cmake")
    include("${EXAMPLES}/${area}/demo.cmake")
  endif()
endforeach()
message("\nAll results are in ${OUT}")
