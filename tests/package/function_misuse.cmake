# A wrong call of a build function stops the configuration with a message that
# names the argument, instead of leaving a tool to fail at build time; the
# right call of each configures.
cmake_minimum_required(VERSION 3.25)
set(cases
  "korvane_file_array(OUTPUT a.c)|INPUT is needed"
  "korvane_file_collection(IMAGE web.bin)|CONTROL is needed"
  "korvane_bitmap_collection(CONTROL panel.txt)|OUTPUT is needed"
  "korvane_upload_image(INPUT app.bin OUTPUT app.upl)|MAGIC is needed"
  "korvane_upload_image(INPUT app.bin OUTPUT app.upl MAGIC A55)|MAGIC must be four hex digits"
  "korvane_upload_image(INPUT app.bin OUTPUT app.upl MAGIC A55A SUFFIX 4B5)|SUFFIX must be pairs"
  "korvane_upload_image(INPUT app.bin OUTPUT app.upl MAGIC A55A KEY 13 SEED 1D0)|SEED must be four hex digits"
  "korvane_upload_image(INPUT app.bin OUTPUT app.upl MAGIC A55A SEED 1D0F)|take effect only with KEY"
  "korvane_upload_image(INPUT app.bin OUTPUT app.upl MAGIC a55a SUFFIX 4b56 KEY 13 SEED 1d0f ROTATION 0010)|"
  "korvane_upload_image(INPUT app.bin OUTPUT app.img PLAIN)|"
  "add_executable(app IMPORTED)\nkorvane_upload_image(INPUT $<TARGET_FILE:app> OUTPUT app.img PLAIN)|"
  "korvane_bitmap_collection(CONTROL panel.txt OUTPUT panel.c)|")
file(REMOVE_RECURSE ${WORK})
set(index 0)
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 call)
  list(GET parts 1 expected)
  set(dir ${WORK}/case${index})
  math(EXPR index "${index} + 1")
  file(WRITE ${dir}/panel.txt "logo.bmp -i logo\n")
  file(WRITE ${dir}/CMakeLists.txt
    "cmake_minimum_required(VERSION 3.25)\nproject(misuse NONE)\n"
    "find_package(KorvaneTools CONFIG REQUIRED)\n${call}\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${dir} -B ${dir}/build -DCMAKE_PREFIX_PATH=${PREFIX}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  string(REPLACE "\n" " " flat "${out}")
  if(expected STREQUAL "" AND NOT rc EQUAL 0)
    message(FATAL_ERROR "${call} should configure:\n${out}")
  elseif(NOT expected STREQUAL "" AND (rc EQUAL 0 OR NOT flat MATCHES "${expected}"))
    message(FATAL_ERROR "${call} should stop with '${expected}':\n${out}")
  endif()
endforeach()
