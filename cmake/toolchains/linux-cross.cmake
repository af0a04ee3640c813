# Shared part of the Linux cross builds; the file of each machine sets
# KORVANE_CROSS_ARCH (Debian's name for the target, e.g. s390x) first.
# Debian: g++-<arch>-linux-gnu for the compiler, qemu-user-static for running
# the results on this host.
#
# The programs and tests are linked statically, so that qemu runs them with
# no target libraries around. binfmt_misc is not relied upon: every target
# program that a test starts goes through CMAKE_CROSSCOMPILING_EMULATOR,
# which names the emulator explicitly.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${KORVANE_CROSS_ARCH})

set(KORVANE_CROSS_TRIPLE ${KORVANE_CROSS_ARCH}-linux-gnu)
set(CMAKE_C_COMPILER ${KORVANE_CROSS_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${KORVANE_CROSS_TRIPLE}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${KORVANE_CROSS_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(KORVANE_QEMU NAMES qemu-${KORVANE_CROSS_ARCH}-static qemu-${KORVANE_CROSS_ARCH}
             NO_CMAKE_FIND_ROOT_PATH)
if(KORVANE_QEMU)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KORVANE_QEMU})
endif()
