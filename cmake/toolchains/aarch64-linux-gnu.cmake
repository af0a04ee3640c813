# Cross build for 64-bit Arm (little-endian, char unsigned by default).
set(KORVANE_CROSS_ARCH aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
