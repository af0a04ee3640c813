# Cross build for 64-bit IBM Z, a big-endian machine: the same bytes must
# come out there as on the little-endian hosts.
set(KORVANE_CROSS_ARCH s390x)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
