# Renders a manual page with every groff warning on; any warning fails.
execute_process(COMMAND ${GROFF} -ww -z -man ${PAGE} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT "${out}${err}" STREQUAL "")
  message(FATAL_ERROR "${PAGE}: groff reports:\n${out}${err}")
endif()
