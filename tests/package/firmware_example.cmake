# Builds the example firmware project against the installed package from a
# copy of the samples, runs it, then edits one input and checks that only the
# outputs made from it are made again.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/examples)
foreach(dir firmware filecreate bitmap convert)
  file(COPY ${SOURCE}/examples/${dir} DESTINATION ${WORK}/examples)
endforeach()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed: ${ARGN}\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

set(build ${WORK}/build)
run(${CMAKE_COMMAND} -S ${WORK}/examples/firmware -B ${build} -G ${GENERATOR} -DCMAKE_PREFIX_PATH=${PREFIX})
run(${CMAKE_COMMAND} --build ${build})
run(${build}/firmware_host ${build}/web.bin ${build}/firmware.upl)
if(NOT out MATCHES "all checks passed")
  message(FATAL_ERROR "firmware_host:\n${out}")
endif()

# Nothing changed: nothing is made again.
set(outputs web.bin web.c notes.c logo.c firmware.upl)
foreach(o IN LISTS outputs)
  file(TIMESTAMP ${build}/${o} before_${o} "%s%f" UTC)
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 1.1)
run(${CMAKE_COMMAND} --build ${build})
foreach(o IN LISTS outputs)
  file(TIMESTAMP ${build}/${o} again "%s%f" UTC)
  if(NOT again STREQUAL before_${o})
    message(FATAL_ERROR "${o} was made again although no input changed")
  endif()
endforeach()

# A style sheet named in the control file changes: the collection is made
# again, the other outputs are not.
file(APPEND ${WORK}/examples/filecreate/web/style.css "p { margin: 0; }\n")
run(${CMAKE_COMMAND} --build ${build})
foreach(o IN LISTS outputs)
  file(TIMESTAMP ${build}/${o} after "%s%f" UTC)
  if(o MATCHES "^web\\.")
    if(after STREQUAL before_${o})
      message(FATAL_ERROR "${o} was not made again after its input changed")
    endif()
  elseif(NOT after STREQUAL before_${o})
    message(FATAL_ERROR "${o} was made again although its inputs did not change")
  endif()
endforeach()
run(${build}/firmware_host ${build}/web.bin ${build}/firmware.upl)

# The same project with the tools added through add_subdirectory, in another
# folder: the functions work there too, and every output has the same bytes,
# so no time stamp or build path has crept into them.
set(other ${WORK}/other-build)
run(${CMAKE_COMMAND} -S ${WORK}/examples/firmware -B ${other} -G ${GENERATOR}
    -DKORVANE_TOOLS_SOURCE=${SOURCE} -DBUILD_TESTING=OFF)
run(${CMAKE_COMMAND} --build ${other})
foreach(o IN LISTS outputs)
  file(SHA256 ${build}/${o} first)
  file(SHA256 ${other}/${o} second)
  if(NOT first STREQUAL second)
    message(FATAL_ERROR "${o} differs between two builds of the same inputs")
  endif()
endforeach()
run(${other}/firmware_host ${other}/web.bin ${other}/firmware.upl)
message(STATUS "example firmware built, checked, rebuilt only where needed, reproducible")
