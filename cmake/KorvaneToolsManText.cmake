# The manual pages as plain text for the Windows package, rendered by groff at
# build time (ASCII, no overstriking, CR LF line ends); without groff the
# package has none.
find_program(KORVANE_GROFF groff NO_CMAKE_FIND_ROOT_PATH)
if(NOT KORVANE_GROFF)
  message(STATUS "groff not found: the Windows package is made without the manual pages")
  return()
endif()
set(texts)
foreach(page KorvaneFileCreate KorvaneConvert)
  set(text ${CMAKE_BINARY_DIR}/man-text/${page}.txt)
  add_custom_command(OUTPUT ${text}
    COMMAND ${CMAKE_COMMAND} -DGROFF=${KORVANE_GROFF} -DPAGE=${PROJECT_SOURCE_DIR}/man/${page}.1 -DTEXT=${text}
            -P ${CMAKE_CURRENT_LIST_DIR}/man_as_text.cmake
    DEPENDS ${PROJECT_SOURCE_DIR}/man/${page}.1 ${CMAKE_CURRENT_LIST_DIR}/man_as_text.cmake
    COMMENT "Manual page ${page} as text"
    VERBATIM)
  list(APPEND texts ${text})
endforeach()
add_custom_target(korvane_man_text ALL DEPENDS ${texts})
install(FILES ${texts} DESTINATION doc)
