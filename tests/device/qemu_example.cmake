# Builds examples/device with arm-none-eabi-gcc against the installed
# package, runs it on QEMU's mps2-an385 and compares what it prints with what
# KorvaneInspect reads on the host from the same files: every record of the
# collection image (address, length, type, visibility, name) and the upload
# image's header. Without the tools it says so and is skipped, unless
# KORVANE_DEVICE_REQUIRED=1 (CI).
cmake_minimum_required(VERSION 3.25)
find_program(ARM_GCC arm-none-eabi-gcc)
find_program(QEMU qemu-system-arm)
if(NOT ARM_GCC OR NOT QEMU)
  if("$ENV{KORVANE_DEVICE_REQUIRED}" STREQUAL "1")
    message(FATAL_ERROR "the QEMU example needs arm-none-eabi-gcc and qemu-system-arm")
  endif()
  message("QEMU example skipped: arm-none-eabi-gcc or qemu-system-arm is not installed")
  return()
endif()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
set(example ${SOURCE}/examples/device)
run(${CMAKE_COMMAND} -S ${example} -B ${WORK} --toolchain ${example}/arm-none-eabi.cmake
    -DCMAKE_PREFIX_PATH=${PREFIX} -DCMAKE_BUILD_TYPE=MinSizeRel)
run(${CMAKE_COMMAND} --build ${WORK} --target run)
set(device "${out}")
if(NOT device MATCHES "all checks passed")
  message(FATAL_ERROR "the firmware did not pass its own checks:\n${device}")
endif()

# What the host reads, in the firmware's words.
set(inspect ${PREFIX}/bin/KorvaneInspect)
run(${inspect} -C ${SOURCE}/examples/filecreate image web.txt ${WORK}/web.bin)
string(REGEX MATCHALL "\n  0x[0-9A-F]+ +[0-9]+  0x[0-9A-F][0-9A-F] [^ ]+ +0x[0-9A-F][0-9A-F] [^ ]+ +[^\n]+" records "${out}")
set(expected "")
foreach(record IN LISTS records)
  string(REGEX MATCH "0x([0-9A-F]+) +([0-9]+)  (0x[0-9A-F][0-9A-F]) [^ ]+ +(0x[0-9A-F][0-9A-F]) [^ ]+ +([^\n]+)" _ "${record}")
  string(REPLACE " (squeezed)" "" name "${CMAKE_MATCH_5}")
  string(APPEND expected "file 0x${CMAKE_MATCH_1} ${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4} CRC 0x.... same as user_files ${name}\n")
endforeach()
run(${inspect} upload ${WORK}/firmware.upl -m-A55A -4B56 -1337C0DE -1D0F -0100)
string(REGEX MATCH "10-byte header, image of ([0-9]+) bytes" _ "${out}")
set(length ${CMAKE_MATCH_1})
string(REGEX MATCH "magic      (0x[0-9A-F]+)  equals" _ "${out}")
set(magic ${CMAKE_MATCH_1})
string(REGEX MATCH "image CRC  (0x[0-9A-F]+)  equals" _ "${out}")
set(image_crc ${CMAKE_MATCH_1})
string(REGEX MATCH "plain CRC  (0x[0-9A-F]+)  equals" _ "${out}")
string(APPEND expected "upload: 10-byte header, image of ${length} bytes, magic ${magic}, image CRC ${image_crc}, "
       "plain CRC ${CMAKE_MATCH_1}, verdict 0, ${length} plain bytes equal the running firmware\n")

string(REGEX MATCHALL "(^|\n)(file 0x|upload: )[^\n]*" printed "${device}")
string(REGEX REPLACE "(^|;)\n" "\\1" printed "${printed}")
list(TRANSFORM printed APPEND "\n")
string(REPLACE ";" "" printed "${printed}")
string(REGEX REPLACE "CRC 0x[0-9A-F][0-9A-F][0-9A-F][0-9A-F] same" "CRC 0x.... same" printed "${printed}")
if(NOT printed STREQUAL expected OR NOT records)
  message(FATAL_ERROR "the firmware's printout differs from KorvaneInspect's reading.\nFirmware:\n${printed}\nHost:\n${expected}")
endif()
message(STATUS "the firmware on QEMU read what KorvaneInspect reads:\n${device}")
