# cmake -DGROFF=<groff> -DPAGE=<page.1> -DTEXT=<page.txt> -P man_as_text.cmake
execute_process(COMMAND ${GROFF} -man -Tascii -P-cbou ${PAGE}
  OUTPUT_VARIABLE text ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR text STREQUAL "")
  message(FATAL_ERROR "groff could not render ${PAGE}: ${err}")
endif()
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${TEXT} "${text}")
