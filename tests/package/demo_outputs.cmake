# Runs the demo with the staged programs and compares every output file with
# the digests recorded in tests/data/demo/outputs.sha256 (C files with the
# output folder written as OUT), so that a change of
# structure or speed that alters one output byte fails here.
#   -DBIN=<staged bin folder> -DSOURCE=<source tree> -DWORK=<scratch folder>
execute_process(
  COMMAND ${CMAKE_COMMAND} -DFILECREATE=${BIN}/KorvaneFileCreate -DCONVERT=${BIN}/KorvaneConvert
          -DINSPECT=${BIN}/KorvaneInspect
          -DEXAMPLES=${SOURCE}/examples -DOUT=${WORK} "-DDEMO_AREAS=filecreate;bitmap;convert"
          -P ${SOURCE}/examples/demo.cmake
  OUTPUT_VARIABLE log ERROR_VARIABLE log RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "demo failed:\n${log}")
endif()
file(STRINGS ${SOURCE}/tests/data/demo/outputs.sha256 lines)
set(bad "")
foreach(line IN LISTS lines)
  string(REGEX MATCH "^([0-9a-f]+)  (.+)$" _ "${line}")
  set(want ${CMAKE_MATCH_1})
  set(name ${CMAKE_MATCH_2})
  if(NOT EXISTS ${WORK}/${name})
    list(APPEND bad "${name}: missing")
    continue()
  endif()
  if(name MATCHES "\\.c$")
    # The banner of a -fb output names the output path: digest it as OUT.
    execute_process(COMMAND sed -e "s|${WORK}|OUT|g" ${WORK}/${name} OUTPUT_FILE ${WORK}/normalised)
    file(SHA256 ${WORK}/normalised got)
  else()
    file(SHA256 ${WORK}/${name} got)
  endif()
  if(NOT got STREQUAL want)
    list(APPEND bad "${name}: ${got}, expected ${want}")
  endif()
endforeach()
if(bad)
  list(JOIN bad "\n" text)
  message(FATAL_ERROR "demo outputs differ:\n${text}")
endif()
list(LENGTH lines count)
message("${count} demo outputs as recorded")
