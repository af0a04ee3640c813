# Makes the Debian package, unpacks it into a scratch folder and runs both
# programs from there; checks that the manual pages and the CMake package are in.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} -E env cpack -G DEB -B ${WORK}/out
  WORKING_DIRECTORY ${BUILD} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
file(GLOB debs ${WORK}/out/*.deb)
if(NOT rc EQUAL 0 OR NOT debs)
  message(FATAL_ERROR "cpack failed:\n${out}")
endif()
list(GET debs 0 deb)
execute_process(COMMAND ${DPKG_DEB} -x ${deb} ${WORK}/root RESULT_VARIABLE rc)
foreach(file usr/bin/KorvaneFileCreate usr/bin/KorvaneConvert usr/bin/KorvaneInspect
             usr/share/man/man1/KorvaneFileCreate.1 usr/share/man/man1/KorvaneConvert.1
             usr/share/man/man1/KorvaneInspect.1 usr/include/korvane/upload.h usr/include/korvane/user_file.h
             usr/share/korvane/device/src/collection.c usr/share/korvane/device/src/upload.c)
  if(NOT EXISTS ${WORK}/root/${file})
    message(FATAL_ERROR "${file} missing from ${deb}")
  endif()
endforeach()
file(GLOB_RECURSE config ${WORK}/root/usr/*/KorvaneToolsConfig.cmake)
if(NOT config)
  message(FATAL_ERROR "the CMake package is missing from ${deb}")
endif()
execute_process(COMMAND ${WORK}/root/usr/bin/KorvaneFileCreate -v OUTPUT_VARIABLE fc RESULT_VARIABLE rc1)
execute_process(COMMAND ${WORK}/root/usr/bin/KorvaneConvert -v OUTPUT_VARIABLE kc RESULT_VARIABLE rc2)
execute_process(COMMAND ${WORK}/root/usr/bin/KorvaneInspect -v OUTPUT_VARIABLE ki RESULT_VARIABLE rc3)
if(NOT rc1 EQUAL 0 OR NOT fc MATCHES "KorvaneFileCreate V1.9" OR NOT rc2 EQUAL 0 OR NOT kc MATCHES "KorvaneConvert V1.8"
   OR NOT rc3 EQUAL 0 OR NOT ki MATCHES "KorvaneInspect V1.9")
  message(FATAL_ERROR "unpacked programs do not run: ${fc} ${kc} ${ki}")
endif()

# The CMake package from the Debian package finds the programs beside it: a
# small project converts one file with them.
file(WRITE ${WORK}/probe/CMakeLists.txt [=[
cmake_minimum_required(VERSION 3.25)
project(probe NONE)
find_package(KorvaneTools CONFIG REQUIRED)
korvane_file_array(INPUT text.txt OUTPUT text.c NAME text)
add_custom_target(probe ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/text.c)
get_target_property(where Korvane::FileCreate LOCATION)
message(STATUS "FileCreate at ${where}")
get_target_property(where Korvane::Inspect LOCATION)
message(STATUS "Inspect at ${where}")
]=])
file(WRITE ${WORK}/probe/text.txt "AB")
execute_process(COMMAND ${CMAKE_COMMAND} -S ${WORK}/probe -B ${WORK}/probe-build
                        -DCMAKE_PREFIX_PATH=${WORK}/root/usr
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "FileCreate at ${WORK}/root/usr/bin/KorvaneFileCreate"
   OR NOT out MATCHES "Inspect at ${WORK}/root/usr/bin/KorvaneInspect")
  message(FATAL_ERROR "the packaged CMake package does not lead to the packaged programs:\n${out}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK}/probe-build RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
file(READ ${WORK}/probe-build/text.c made)
if(NOT rc EQUAL 0 OR NOT made MATCHES "static const unsigned char text\\[\\] = [{]" OR NOT made MATCHES "\n0x41,0x42,")
  message(FATAL_ERROR "the packaged programs did not convert through the package:\n${out}")
endif()
