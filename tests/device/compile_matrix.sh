#!/usr/bin/env bash
# Compiles the device sources with the compilers firmware is built with, each
# warning an error: arm-none-eabi-gcc for Cortex-M0+ and M4, SDCC for stm8
# and mcs51 (16-bit int, 8-bit processors), and host gcc and clang with the
# sanitizers. A compiler that is not installed is skipped and named, unless
# KORVANE_DEVICE_REQUIRED=1 (CI), where it fails.
set -uo pipefail
device=$(cd "$(dirname "$0")/../../device" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
skipped=()
strict=(-std=c99 -Wall -Wextra -Wpedantic -Wconversion -Wcast-qual -Werror -I"$device/include")

# build NAME COMPILER ARGS...: every source with COMPILER ARGS -c; output
# with "warning" counts as a failure too (SDCC has no -Werror).
build() {
  local name=$1 compiler=$2
  shift 2
  if ! command -v "$compiler" >/dev/null 2>&1; then
    skipped+=("$name ($compiler not installed)")
    return
  fi
  for source in "$device"/src/*.c; do
    local out
    if ! out=$(cd "$work" && "$compiler" "$@" -c "$source" -o "$work/$(basename "$source" .c).o" 2>&1) ||
       grep -qi warning <<<"$out"; then
      echo "FAILED: $name: $(basename "$source")"; echo "$out"
      failed=1
    fi
  done
  echo "ok: $name"
}

build "Cortex-M0+" arm-none-eabi-gcc -mcpu=cortex-m0plus -mthumb -ffreestanding -Os "${strict[@]}"
build "Cortex-M4" arm-none-eabi-gcc -mcpu=cortex-m4 -mthumb -ffreestanding -Os "${strict[@]}"
build "stm8 (SDCC)" sdcc -mstm8 --std-c99 -I"$device/include"
build "mcs51 (SDCC)" sdcc -mmcs51 --stack-auto --std-c99 -I"$device/include"
for host in gcc clang; do
  build "host $host, ASan and UBSan" $host -fsanitize=address,undefined -O1 "${strict[@]}"
done

if [ ${#skipped[@]} -gt 0 ]; then
  printf 'skipped: %s\n' "${skipped[@]}"
  [ "${KORVANE_DEVICE_REQUIRED:-0}" = 1 ] && failed=1
fi
exit $failed
