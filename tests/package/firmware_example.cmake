# Builds the example firmware project from a copy of the samples with the
# installed package, three ways: CMake's Makefile and Ninja generators and the
# plain Makefile. Then edits inputs and checks that each build makes again
# exactly the outputs made from them, that a failed step fails again until
# its input is fixed, and that the outputs are then complete.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/examples)
foreach(dir firmware filecreate bitmap convert)
  file(COPY ${SOURCE}/examples/${dir} DESTINATION ${WORK}/examples)
endforeach()
set(web ${WORK}/examples/filecreate)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed: ${ARGN}\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

# The builds, each a folder and a command: CMake's Makefile and Ninja
# generators, and the plain Makefile.
find_program(MAKE_PROGRAM NAMES make gmake REQUIRED)
find_program(NINJA ninja REQUIRED)
set(drivers makefiles ninja make)
set(build ${WORK}/build)
set(dir_makefiles ${build})
set(dir_ninja ${WORK}/build-ninja)
set(dir_make ${WORK}/make-build)
run(${CMAKE_COMMAND} -S ${WORK}/examples/firmware -B ${build} -G "Unix Makefiles" -DCMAKE_PREFIX_PATH=${PREFIX})
run(${CMAKE_COMMAND} -S ${WORK}/examples/firmware -B ${dir_ninja} -G Ninja -DCMAKE_PREFIX_PATH=${PREFIX})
set(cmd_makefiles ${CMAKE_COMMAND} --build ${build})
set(cmd_ninja ${CMAKE_COMMAND} --build ${dir_ninja})
set(cmd_make ${MAKE_PROGRAM} -s -f ${WORK}/examples/firmware/Makefile OUT=${dir_make}
    FILECREATE=${PREFIX}/bin/KorvaneFileCreate CONVERT=${PREFIX}/bin/KorvaneConvert)

# The CMake builds' host programs check their outputs; the Make rules give
# the same bytes (the -fb banner names the output folder, so not there).
set(outputs web.bin web.c notes.c logo.c panel_pictures.c firmware.upl)
function(check_outputs)
  foreach(d ninja makefiles)
    run(${dir_${d}}/firmware_host ${dir_${d}}/web.bin ${dir_${d}}/firmware.upl)
  endforeach()
  foreach(o web.bin web.c notes.c logo.c firmware.upl)
    run(${CMAKE_COMMAND} -E compare_files ${build}/${o} ${dir_make}/${o})
  endforeach()
endfunction()
foreach(d IN LISTS drivers)
  run(${cmd_${d}})
endforeach()
check_outputs()
# An executable target as korvane_upload_image's input: the image holds its ELF file's sections.
foreach(d ninja makefiles)
  run(${PREFIX}/bin/KorvaneInspect upload ${dir_${d}}/application.img -b --against ${dir_${d}}/application)
endforeach()

# Builds again after <edit> (a command list run first, or nothing) and checks
# that exactly the outputs named after REMADE were made again, in every build.
function(rebuild_remakes)
  cmake_parse_arguments(ARG "" "" "EDIT;REMADE" ${ARGN})
  foreach(d IN LISTS drivers)
    foreach(o IN LISTS outputs)
      file(TIMESTAMP ${dir_${d}}/${o} before_${d}_${o} "%s%f" UTC)
    endforeach()
  endforeach()
  # Past the time stamp resolution of every file system the build may run on.
  execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 1.1)
  if(ARG_EDIT)
    run(${ARG_EDIT})
  endif()
  foreach(d IN LISTS drivers)
    run(${cmd_${d}})
    foreach(o IN LISTS outputs)
      file(TIMESTAMP ${dir_${d}}/${o} after "%s%f" UTC)
      if(o IN_LIST ARG_REMADE AND after STREQUAL before_${d}_${o})
        message(FATAL_ERROR "${d}: ${o} was not made again after its input changed (${ARG_EDIT})")
      elseif(NOT o IN_LIST ARG_REMADE AND NOT after STREQUAL before_${d}_${o})
        message(FATAL_ERROR "${d}: ${o} was made again although its inputs did not change (${ARG_EDIT})")
      endif()
    endforeach()
  endforeach()
  check_outputs()
endfunction()

# Nothing changed: nothing is made again.
rebuild_remakes()
# A style sheet named in the control file: the collection (image and C source).
file(WRITE ${WORK}/append.cmake "file(APPEND \${FILE} \"p { margin: 0; }\\n\")\n")
rebuild_remakes(EDIT ${CMAKE_COMMAND} -DFILE=${web}/web/style.css -P ${WORK}/append.cmake
                REMADE web.bin web.c)
# A picture of the panel: only the bitmap collection that lists it; logo.c,
# made from another bitmap, stays.
rebuild_remakes(EDIT ${CMAKE_COMMAND} -E touch ${WORK}/examples/bitmap/gradient.bmp REMADE panel_pictures.c)
# The single file and the build output: each remakes its own output only.
rebuild_remakes(EDIT ${CMAKE_COMMAND} -E touch ${web}/notes.txt REMADE notes.c)
rebuild_remakes(EDIT ${CMAKE_COMMAND} -E touch ${WORK}/examples/convert/firmware-records.bin REMADE firmware.upl)

# Entries only the program's own reading finds: one behind a definition, a
# name without a full stop marked by a bar, a last line without a line end.
file(READ ${web}/web.txt control)
file(WRITE ${WORK}/web-forms.txt "${control}#define LATE 1 late.htm -w\nreadme| -t=MIME_HTML\nlast.htm ")
foreach(name late.htm page.htm readme ghost.htm last.htm)
  file(WRITE ${web}/${name} "<p>${name}</p>\n")
endforeach()
rebuild_remakes(EDIT ${CMAKE_COMMAND} -E copy ${WORK}/web-forms.txt ${web}/web.txt REMADE web.bin web.c)
foreach(name late.htm readme last.htm xml-status.xml)
  rebuild_remakes(EDIT ${CMAKE_COMMAND} -E touch ${web}/${name} REMADE web.bin web.c)
endforeach()
# Dropping them again: the step runs once, then nothing.
file(WRITE ${WORK}/web.txt "${control}")
rebuild_remakes(EDIT ${CMAKE_COMMAND} -E copy ${WORK}/web.txt ${web}/web.txt REMADE web.bin web.c)
rebuild_remakes()

# A failed step fails again on the next build with nothing changed, and once
# its input is fixed the outputs are whole again: the same bytes as before.
foreach(d IN LISTS drivers)
  foreach(o IN LISTS outputs)
    file(SHA256 ${dir_${d}}/${o} whole_${d}_${o})
  endforeach()
endforeach()
function(fails_twice)
  run(${ARGN})
  foreach(d IN LISTS drivers)
    foreach(attempt first second)
      execute_process(COMMAND ${cmd_${d}} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
      if(rc EQUAL 0)
        message(FATAL_ERROR "${d}: the ${attempt} build after ${ARGN} succeeded")
      endif()
    endforeach()
  endforeach()
endfunction()
# Names that give no entry (no blank after them) are warned of, and the
# functions' and the Makefile's KORVANE_STRICT=1 stop the build on them.
file(WRITE ${WORK}/web-odd.txt "${control}page.htm\nreadme -t=MIME_HTML\nghost.htm// no blank before the comment\n")
fails_twice(${CMAKE_COMMAND} -E copy ${WORK}/web-odd.txt ${web}/web.txt)
rebuild_remakes(EDIT ${CMAKE_COMMAND} -E copy ${WORK}/web.txt ${web}/web.txt REMADE web.bin web.c)
# A bitmap cut short.
file(COPY_FILE ${WORK}/examples/bitmap/gradient.bmp ${WORK}/gradient.bmp)
execute_process(COMMAND head -c 1000 ${WORK}/gradient.bmp OUTPUT_FILE ${WORK}/short.bmp)
fails_twice(${CMAKE_COMMAND} -E copy ${WORK}/short.bmp ${WORK}/examples/bitmap/gradient.bmp)
rebuild_remakes(EDIT ${CMAKE_COMMAND} -E copy ${WORK}/gradient.bmp ${WORK}/examples/bitmap/gradient.bmp
                REMADE panel_pictures.c)
# An entry over 65,535 bytes with 2-byte lengths; fixed with 4-byte lengths.
string(REPEAT "0123456789" 7000 big)
file(WRITE ${web}/big.bin "${big}")
file(WRITE ${WORK}/web-big.txt "${control}big.bin -t=MIME_PNG\n")
string(REPLACE "MAX_FILE_LENGTH 4" "MAX_FILE_LENGTH 2" short_lengths "${control}big.bin -t=MIME_PNG\n")
file(WRITE ${WORK}/web-short-lengths.txt "${short_lengths}")
fails_twice(${CMAKE_COMMAND} -E copy ${WORK}/web-short-lengths.txt ${web}/web.txt)
rebuild_remakes(EDIT ${CMAKE_COMMAND} -E copy ${WORK}/web-big.txt ${web}/web.txt REMADE web.bin web.c)
rebuild_remakes(EDIT ${CMAKE_COMMAND} -E copy ${WORK}/web.txt ${web}/web.txt REMADE web.bin web.c)
foreach(d IN LISTS drivers)
  foreach(o IN LISTS outputs)
    file(SHA256 ${dir_${d}}/${o} now)
    if(NOT now STREQUAL whole_${d}_${o})
      message(FATAL_ERROR "${d}: ${o} differs from the whole output of the same inputs")
    endif()
  endforeach()
endforeach()

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
message(STATUS "example firmware built with ${drivers}, checked, rebuilt only where needed, reproducible")
