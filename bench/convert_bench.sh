#!/usr/bin/env bash
# Times KorvaneConvert against the floor of what it has to do, in paired runs
# (ours, then the floor, again and again, so that both see the same machine
# load), and prints the medians and the median of the per-pair ratios:
#   - 2 MiB of records, header + key bytes + rotation, against `cp` of the input
#   - the same input as a plain image (-b), against `cp` of the input
#   - an empty input (-b), against /bin/true
# and the peak memory (/usr/bin/time -f %M) for 4 KiB and 2 MiB inputs.
# With the ARM cross toolchain installed, also a 1 MiB-image ELF file and its
# Intel HEX against the toolchain's own objcopy:
#   - ELF to a plain image (-b), to a header-only upload image, and with key
#     and rotation, against `objcopy -O binary --gap-fill 0xff`
#   - Intel HEX to a plain image, against `objcopy -I ihex -O binary`
#   bench/convert_bench.sh [path/to/KorvaneConvert] [pairs]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tool=${1:-$here/../build/dev/convert/KorvaneConvert}
pairs=${2:-41}
[ -x "$tool" ] || { echo "no program at $tool; build first (cmake --workflow --preset test)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 32 records of 64 KiB less a little, with small gaps: just under 2 MiB of
# image. Then a 4 KiB one, and an empty file.
python3 - "$work" <<'PY'
import os, struct, sys
def records(path, count, size):
    with open(path, "wb") as f:
        address = 0x08000000
        for i in range(count):
            data = os.urandom(size)
            f.write(struct.pack(">II", address, len(data)) + data)
            address += len(data) + 32
records(os.path.join(sys.argv[1], "in.mot"), 32, 65536 - 64)
records(os.path.join(sys.argv[1], "small.mot"), 4, 1024 - 8)
open(os.path.join(sys.argv[1], "empty"), "wb").close()
PY

# Wall time of one run in microseconds; EPOCHREALTIME keeps the timer from forking.
run_us() {
  local start=$EPOCHREALTIME
  "$@" > /dev/null 2>&1
  local end=$EPOCHREALTIME
  awk -v a="$start" -v b="$end" 'BEGIN {printf "%d\n", (b - a) * 1000000}'
}

# pair <title> <ours...> -- <floor...>
pair() {
  local title=$1; shift
  local ours=() floor=()
  while [ "$1" != "--" ]; do ours+=("$1"); shift; done
  shift; floor=("$@")
  "${ours[@]}" > /dev/null 2>&1; "${floor[@]}" > /dev/null  # warm the caches
  local rows=""
  for _ in $(seq "$pairs"); do
    rows+="$(run_us "${ours[@]}") $(run_us "${floor[@]}")"$'\n'
  done
  printf '%s' "$rows" | awk -v title="$title" -v floor_name="$(basename "${floor[0]}")" '
    { a[NR] = $1; b[NR] = $2; r[NR] = $1 / $2 }
    function median(v, n,   i, j, t) {
      for (i = 2; i <= n; i++) for (j = i; j > 1 && v[j - 1] > v[j]; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
      return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
    }
    END {
      printf "%-44s KorvaneConvert %6.2f ms, %-4s %6.2f ms, ratio %.2fx (median of %d pairs)\n",
             title, median(a, NR) / 1000, floor_name, median(b, NR) / 1000, median(r, NR), NR
    }'
}

pair "2 MiB records, header + key + rotation" \
  "$tool" "$work/in.mot" "$work/out.bin" -h-A55A -0102 -1337C0DE -1D0F -0100 -- cp "$work/in.mot" "$work/copy.bin"
pair "2 MiB records, plain image (-b)" \
  "$tool" "$work/in.mot" "$work/out.bin" -b -- cp "$work/in.mot" "$work/copy.bin"
pair "empty input (-b)" "$tool" "$work/empty" "$work/out.bin" -b -- /bin/true

if command -v arm-none-eabi-gcc > /dev/null; then
  firmware=$here/../tests/convert/firmware
  arm-none-eabi-gcc -mcpu=cortex-m3 -mthumb -Os -fno-tree-loop-distribute-patterns -nostdlib -DBULK_WORDS=262144 \
    -T "$firmware/cortex_m.ld" "$firmware/firmware.c" -o "$work/app.elf"
  arm-none-eabi-objcopy -O ihex "$work/app.elf" "$work/app.hex"
  objcopy=(arm-none-eabi-objcopy -O binary --gap-fill 0xff "$work/app.elf" "$work/objcopy.bin")
  pair "1 MiB ELF, plain image (-b)" "$tool" "$work/app.elf" "$work/out.bin" -b -- "${objcopy[@]}"
  pair "1 MiB ELF, header only" "$tool" "$work/app.elf" "$work/out.bin" -h-A55A -- "${objcopy[@]}"
  pair "1 MiB ELF, header + key + rotation" \
    "$tool" "$work/app.elf" "$work/out.bin" -h-A55A -0102 -1337C0DE -1D0F -0100 -- "${objcopy[@]}"
  pair "1 MiB Intel HEX, plain image (-b)" "$tool" "$work/app.hex" "$work/out.bin" -b -- \
    arm-none-eabi-objcopy -I ihex -O binary "$work/app.hex" "$work/objcopy.bin"
else
  echo "arm-none-eabi-gcc not installed: no ELF and Intel HEX figures (Debian: gcc-arm-none-eabi)"
fi

peak_kb() { /usr/bin/time -f %M "$@" 2>&1 > /dev/null | tail -n 1; }
true_kb=$(peak_kb /bin/true)
for input in small.mot in.mot; do
  kb=$(peak_kb "$tool" "$work/$input" "$work/out.bin" -h-A55A -0102 -1337C0DE -1D0F -0010)
  printf 'peak memory, %-8s %5d bytes in: %6d KiB (/bin/true %d KiB, %+d KiB)\n' \
    "$input" "$(stat -c %s "$work/$input")" "$kb" "$true_kb" $((kb - true_kb))
done
