# The build functions name the C source of an image as KorvaneFileCreate -f
# does: both are tested on the names of tests/data/c_source_names.txt.
#   -DSOURCE=<project root>
cmake_minimum_required(VERSION 3.25)
include("${SOURCE}/cmake/KorvaneToolsFunctions.cmake")

file(STRINGS "${SOURCE}/tests/data/c_source_names.txt" lines REGEX "^[^#]")
set(faults "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "\t.*$" "" image "${line}")
  string(REGEX REPLACE "^[^\t]*\t" "" expected "${line}")
  _korvane_c_source_name("${image}" got)
  if(NOT got STREQUAL expected)
    list(APPEND faults "${image}: ${got}, not ${expected}")
  endif()
endforeach()
if(faults OR NOT lines)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "C source names differ:\n  ${text}")
endif()
