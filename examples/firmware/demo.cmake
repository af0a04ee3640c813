# The example firmware project: builds the tools' outputs from its own build
# (this source tree added with add_subdirectory), then runs the host program
# that walks user_files, loads the image and checks the upload CRCs.
set(fw "${OUT}/firmware")
demo_run(TITLE "Configure the example firmware project"
  WORKDIR "${EXAMPLES}/firmware"
  COMMAND "${CMAKE_COMMAND}" -S "${EXAMPLES}/firmware" -B "${fw}" -DKORVANE_TOOLS_SOURCE=${EXAMPLES}/.. -DBUILD_TESTING=OFF)
demo_run(TITLE "Build it: the tools run from the firmware's build"
  WORKDIR "${fw}"
  COMMAND "${CMAKE_COMMAND}" --build "${fw}")
demo_run(TITLE "Run the host stand-in of the firmware"
  WORKDIR "${fw}"
  COMMAND "${fw}/firmware_host" "${fw}/web.bin" "${fw}/firmware.upl")
