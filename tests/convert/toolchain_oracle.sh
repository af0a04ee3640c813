#!/usr/bin/env bash
# KorvaneConvert against the toolchains' own objcopy: Cortex-M firmware built
# little- and big-endian (also one of a 1 MiB image) and an s390x program, each
# as ELF and as objcopy's Intel HEX and S-records, must give exactly the bytes
# of `objcopy -O binary --gap-fill 0xff`.
#   toolchain_oracle.sh KorvaneConvert firmware-source-folder work-folder
# A missing cross tool skips the test (exit 77), or fails it where
# KORVANE_REQUIRE_TOOLCHAINS=1 (CI installs them).
set -euo pipefail
convert=$1 src=$2 work=$3
for tool in arm-none-eabi-gcc arm-none-eabi-objcopy s390x-linux-gnu-gcc s390x-linux-gnu-objcopy; do
  if ! command -v $tool >/dev/null; then
    echo "$tool is not installed (Debian: gcc-arm-none-eabi, gcc-s390x-linux-gnu)"
    [ "${KORVANE_REQUIRE_TOOLCHAINS:-}" = 1 ] && exit 1
    exit 77
  fi
done
rm -rf "$work"; mkdir -p "$work"; cd "$work"
arm=(arm-none-eabi-gcc -mcpu=cortex-m3 -mthumb -Os -fno-tree-loop-distribute-patterns -nostdlib -T "$src/cortex_m.ld")
"${arm[@]}" -mlittle-endian "$src/firmware.c" -o arm-le.elf
"${arm[@]}" -mbig-endian "$src/firmware.c" -o arm-be.elf
"${arm[@]}" -mlittle-endian -DBULK_WORDS=262144 "$src/firmware.c" -o arm-1mib.elf
printf 'const char text[] = "s390x";\nint count = 3;\nint main(void) { return text[count]; }\n' > s390x.c
s390x-linux-gnu-gcc -O2 -static -nostdlib -no-pie -Wl,-e,main s390x.c -o s390x.elf
failed=0
for elf in arm-le arm-be arm-1mib s390x; do
  objcopy=arm-none-eabi-objcopy; [ $elf = s390x ] && objcopy=s390x-linux-gnu-objcopy
  $objcopy -O binary --gap-fill 0xff $elf.elf $elf.expected
  $objcopy -O ihex $elf.elf $elf.hex
  $objcopy -O srec $elf.elf $elf.srec
  for input in $elf.elf $elf.hex $elf.srec; do
    if ! "$convert" $input $input.bin -b > /dev/null 2> $input.note || ! cmp $input.bin $elf.expected; then
      echo "FAILED: $input"; cat $input.note; failed=1
    else
      echo "ok: $input ($(cat $input.note))"
    fi
  done
done
exit $failed
