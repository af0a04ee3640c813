# The example firmware project, built against the programs this build has just
# made: they are installed into a stage folder of the demo, and the project
# finds them there with find_package, as a user's project finds an installed
# copy. (BUILD_DIR is the tools' build tree; without it this part is skipped.)
if(NOT BUILD_DIR)
  message("\n(the example firmware needs BUILD_DIR, the build tree of the tools; skipped)")
  return()
endif()
# The firmware's own build is a separate make: the parallel settings of the
# make that runs the demo do not reach it (it would warn about them).
unset(ENV{MAKEFLAGS})
unset(ENV{MFLAGS})
unset(ENV{MAKELEVEL})
set(stage "${OUT}/stage")
set(fw "${OUT}/firmware")
demo_run(TITLE "Install the programs just built into a stage folder"
  WORKDIR "${BUILD_DIR}"
  COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${stage}")
demo_run(TITLE "Configure the example firmware project against that installation"
  WORKDIR "${EXAMPLES}/firmware"
  COMMAND "${CMAKE_COMMAND}" -S "${EXAMPLES}/firmware" -B "${fw}" "-DCMAKE_PREFIX_PATH=${stage}")
demo_run(TITLE "Build it: the installed tools run from the firmware's build"
  WORKDIR "${fw}"
  COMMAND "${CMAKE_COMMAND}" --build "${fw}")
demo_run(TITLE "Run the host stand-in of the firmware"
  WORKDIR "${fw}"
  COMMAND "${fw}/firmware_host" "${fw}/web.bin" "${fw}/firmware.upl")
