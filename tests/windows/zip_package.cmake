# Makes the Windows zip, unpacks it and checks what a Windows firmware
# project relies on: the three programs, needing no DLL beyond the system's, run
# from the package; the manual pages as text; the CMake package leads to the
# programs beside it.
#   -DBUILD=<build> -DWORK=<scratch> -DOBJDUMP=<objdump> -DMAN_TEXT=<ON|OFF>
#   -DEMULATOR=<wine command, ;-list>
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND cpack -G ZIP -B ${WORK}/out WORKING_DIRECTORY ${BUILD}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
file(GLOB zips ${WORK}/out/*.zip)
if(NOT rc EQUAL 0 OR NOT zips)
  message(FATAL_ERROR "cpack failed:\n${out}")
endif()
file(ARCHIVE_EXTRACT INPUT ${zips} DESTINATION ${WORK}/root)
file(GLOB root ${WORK}/root/*)

set(expected bin/KorvaneFileCreate.exe bin/KorvaneConvert.exe bin/KorvaneInspect.exe
             lib/cmake/KorvaneTools/KorvaneToolsConfig.cmake lib/cmake/KorvaneTools/KorvaneToolsFunctions.cmake
             include/korvane/upload.h share/korvane/device/src/upload.c)
if(MAN_TEXT)
  list(APPEND expected doc/KorvaneFileCreate.txt doc/KorvaneConvert.txt doc/KorvaneInspect.txt)
endif()
foreach(file IN LISTS expected)
  if(NOT EXISTS ${root}/${file})
    message(FATAL_ERROR "${file} missing from ${zips}")
  endif()
endforeach()

foreach(program KorvaneFileCreate KorvaneConvert KorvaneInspect)
  execute_process(COMMAND ${OBJDUMP} -p ${root}/bin/${program}.exe OUTPUT_VARIABLE dump)
  string(REGEX MATCHALL "DLL Name: [^\n]+" dlls "${dump}")
  list(REMOVE_ITEM dlls "DLL Name: KERNEL32.dll" "DLL Name: msvcrt.dll")
  if(dlls)
    message(FATAL_ERROR "${program}.exe needs more than the system's DLLs: ${dlls}")
  endif()
  execute_process(COMMAND ${EMULATOR} ${root}/bin/${program}.exe -v
    OUTPUT_VARIABLE version INPUT_FILE /dev/null ERROR_QUIET RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT version MATCHES "${program} V1\\.[0-9]")
    message(FATAL_ERROR "${program}.exe from the zip does not answer -v under Wine: ${rc} ${version}")
  endif()
endforeach()

# A firmware project for a 32-bit target finds the package and the programs.
file(WRITE ${WORK}/probe/CMakeLists.txt [=[
cmake_minimum_required(VERSION 3.25)
project(probe NONE)
set(CMAKE_SIZEOF_VOID_P 4)
find_package(KorvaneTools 1.9 CONFIG REQUIRED)
korvane_file_array(INPUT text.txt OUTPUT text.c NAME text)
korvane_upload_image(INPUT text.txt OUTPUT text.upl MAGIC A55A)
add_custom_target(probe ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/text.c ${CMAKE_CURRENT_BINARY_DIR}/text.upl)
get_target_property(where Korvane::FileCreate LOCATION)
message(STATUS "FileCreate at ${where}")
]=])
file(WRITE ${WORK}/probe/text.txt "AB")
execute_process(COMMAND ${CMAKE_COMMAND} -S ${WORK}/probe -B ${WORK}/probe-build -DCMAKE_PREFIX_PATH=${root}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "FileCreate at ${root}/bin/KorvaneFileCreate.exe")
  message(FATAL_ERROR "the CMake package of the zip does not lead to its programs:\n${out}")
endif()
