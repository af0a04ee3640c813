# Starts (ACTION=start) or ends (ACTION=stop) the Wine session of the tests:
# a wine server kept alive between programs, with its output away from any
# pipe, and a prefix made on the first start.
#   -DWINE=<wine64> -DWINESERVER=<wineserver> -DPREFIX=<prefix folder>
set(ENV{WINEPREFIX} "${PREFIX}")
set(ENV{WINEDEBUG} -all)
set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml=")
set(ENV{DISPLAY} "")
if(ACTION STREQUAL "start")
  # A server that stays for two minutes after the last program has ended.
  execute_process(COMMAND ${WINESERVER} -p120
    INPUT_FILE /dev/null OUTPUT_FILE /dev/null ERROR_FILE /dev/null)
  execute_process(COMMAND ${WINE} wineboot --init
    INPUT_FILE /dev/null OUTPUT_FILE /dev/null ERROR_FILE /dev/null
    RESULT_VARIABLE rc TIMEOUT 280)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "wineboot failed in ${PREFIX}: ${rc}")
  endif()
else()
  execute_process(COMMAND ${WINESERVER} -k
    INPUT_FILE /dev/null OUTPUT_FILE /dev/null ERROR_FILE /dev/null)
endif()
