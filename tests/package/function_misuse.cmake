# A wrong call of a build function stops the configuration with a message that
# names the argument, instead of leaving a tool to fail at build time; the
# right call of each configures. A case with a third field is also built:
# a warning of the tool (zeros.mot: records that all hold no data) stops the
# build and leaves no output, unless the call passes ALLOW_WARNINGS.
cmake_minimum_required(VERSION 3.25)
set(outputs "\nadd_custom_target(outputs ALL DEPENDS app.upl)")
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
  "korvane_bitmap_collection(CONTROL panel.txt OUTPUT panel.c)|"
  "korvane_upload_image(INPUT zeros.mot OUTPUT app.upl MAGIC A55A ALLOW_WARNINGS)${outputs}||builds"
  "korvane_upload_image(INPUT zeros.mot OUTPUT app.upl MAGIC A55A)${outputs}||stops")
file(REMOVE_RECURSE ${WORK})
set(index 0)
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 call)
  list(GET parts 1 expected)
  list(APPEND parts "")
  list(GET parts 2 build)
  set(dir ${WORK}/case${index})
  math(EXPR index "${index} + 1")
  file(WRITE ${dir}/panel.txt "logo.bmp -i logo\n")
  execute_process(COMMAND head -c 16 /dev/zero OUTPUT_FILE ${dir}/zeros.mot)
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
  if(build)
    execute_process(COMMAND ${CMAKE_COMMAND} --build ${dir}/build RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(build STREQUAL "builds" AND (NOT rc EQUAL 0 OR NOT out MATCHES "warning: "))
      message(FATAL_ERROR "${call} should build with a warning:\n${out}")
    elseif(build STREQUAL "stops" AND (rc EQUAL 0 OR EXISTS ${dir}/build/app.upl OR NOT out MATCHES "Warning treated as an error"))
      message(FATAL_ERROR "${call} should stop at the warning and leave no output:\n${out}")
    endif()
  endif()
endforeach()
