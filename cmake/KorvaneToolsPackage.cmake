# Installs the CMake package (imported programs and build functions) and the
# manual pages, and describes the Debian package made by `cpack -G DEB` (on
# Windows builds the zip made by `cpack -G ZIP`).
include(CMakePackageConfigHelpers)
set(KORVANE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/KorvaneTools)

# The programs are set to their final names in the export so that a project
# writes Korvane::FileCreate and Korvane::Convert.
set_target_properties(KorvaneFileCreate PROPERTIES EXPORT_NAME FileCreate)
set_target_properties(KorvaneConvert PROPERTIES EXPORT_NAME Convert)
install(EXPORT KorvaneToolsTargets NAMESPACE Korvane:: DESTINATION ${KORVANE_PACKAGE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/KorvaneToolsConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/KorvaneToolsConfig.cmake
  INSTALL_DESTINATION ${KORVANE_PACKAGE_DIR})
# The programs run on the build host: a firmware project built for a 32-bit
# target (or by a 32-bit compiler) must still accept the package.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/KorvaneToolsConfigVersion.cmake
  COMPATIBILITY SameMajorVersion ARCH_INDEPENDENT)
install(FILES
  ${CMAKE_CURRENT_BINARY_DIR}/KorvaneToolsConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/KorvaneToolsConfigVersion.cmake
  ${CMAKE_CURRENT_LIST_DIR}/KorvaneToolsFunctions.cmake
  DESTINATION ${KORVANE_PACKAGE_DIR})

if(WIN32)
  # A zip to unpack anywhere; Windows has no man, so the pages go into doc/
  # as plain text.
  include(${CMAKE_CURRENT_LIST_DIR}/KorvaneToolsManText.cmake)
  set(CPACK_GENERATOR ZIP)
else()
  install(FILES ${PROJECT_SOURCE_DIR}/man/KorvaneFileCreate.1 ${PROJECT_SOURCE_DIR}/man/KorvaneConvert.1
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
endif()
set(CPACK_PACKAGE_NAME korvane-tools)
set(CPACK_PACKAGE_VENDOR "Korvane")
set(CPACK_PACKAGE_CONTACT "Korvane tools <tools@korvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Firmware build tools: C arrays, file collections, GLCD bitmaps, upload images")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6")
set(CPACK_STRIP_FILES ON)
include(CPack)
