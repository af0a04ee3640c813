#!/usr/bin/env bash
# Times KorvaneFileCreate -bm against the floor of its work: one process that
# reads the whole bitmap and writes a file of the array's size, in 64 KiB
# pieces as the tool does. The two run in pairs, one after the other; the
# script prints both medians and their ratio.
#   bench/bitmap_bench.sh [path/to/KorvaneFileCreate] [runs]
# Without a path the program of the dev preset's build tree is used. Needs
# python3 (to draw the bitmaps) and a C compiler (cc or c++, for the floor).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tool=${1:-$here/../build/dev/filecreate/KorvaneFileCreate}
runs=${2:-21}
[ -x "$tool" ] || { echo "no program at $tool; build first (cmake --workflow --preset test)"; exit 1; }
compiler=$(command -v cc || command -v c++) || { echo "a C compiler is needed for the floor"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat > "$work/floor.c" <<'C'
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>
/* floor INPUT OUTPUT SIZE: reads INPUT to its end, writes SIZE bytes to OUTPUT. */
int main(int argc, char** argv)
{
    static char chunk[1 << 16];
    long long size = argc > 3 ? atoll(argv[3]) : 0;
    int in = open(argv[1], O_RDONLY), out = open(argv[2], O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (in < 0 || out < 0) return 1;
    while (read(in, chunk, sizeof chunk) > 0) {}
    for (; size > 0; size -= sizeof chunk) {
        if (write(out, chunk, size < (long long)sizeof chunk ? (size_t)size : sizeof chunk) < 0) return 1;
    }
    return close(out) != 0 || close(in) != 0;
}
C
"$compiler" -O2 -x c -o "$work/floor" "$work/floor.c"

# Random pictures: half the pixels set, so that no branch predicts them.
python3 - "$work" <<'PY'
import os, struct, sys
def bitmap(path, width, height, bits):
    row = (width * bits + 31) // 32 * 4
    if bits == 1:
        palette = b"\0\0\0\0\xff\xff\xff\0"
        pixels = bytearray(os.urandom(row * height))
    else:
        palette = b""
        blue = os.urandom(width * height).translate(bytes(0xFF * (i & 1) for i in range(256)))
        pixels = bytearray(width * height * 3)
        for k in range(3):
            pixels[k::3] = blue
    offset = 54 + len(palette)
    head = b"BM" + struct.pack("<IIIIiiHHIIiiII", offset + len(pixels), 0, offset, 40, width, height, 1, bits,
                               0, len(pixels), 2835, 2835, 2 if bits == 1 else 0, 0)
    with open(path, "wb") as f:
        f.write(head + palette + pixels)
bitmap(sys.argv[1] + "/mono.bmp", 4096, 4096, 1)
bitmap(sys.argv[1] + "/colour.bmp", 2048, 2048, 24)
PY

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {printf "%.2f", a[int((NR+1)/2)]/1000}'; }

# The 4096 x 4096 array (2 MiB) exceeds the reversal buffer, so only the
# 24-bit picture (512 KiB of array) is also timed with reversed rows.
for run in "mono -bm 4096 x 4096, 1 bit" "colour -bm 2048 x 2048, 24 bits" "colour -bmi 2048 x 2048, 24 bits, reversed"; do
  read -r name mode label <<<"$run"
  in="$work/$name.bmp"
  "$tool" "$mode" "$in" "$work/out.c" > /dev/null
  size=$(wc -c < "$work/out.c")
  ours=() floor=()
  for _ in $(seq "$runs"); do
    # EPOCHREALTIME without its point: microseconds, read without forking.
    start=${EPOCHREALTIME/[.,]/}; "$tool" "$mode" "$in" "$work/out.c" > /dev/null; end=${EPOCHREALTIME/[.,]/}
    ours+=($((end - start)))
    start=${EPOCHREALTIME/[.,]/}; "$work/floor" "$in" "$work/floor.c.out" "$size"; end=${EPOCHREALTIME/[.,]/}
    floor+=($((end - start)))
  done
  a=$(median "${ours[@]}")
  b=$(median "${floor[@]}")
  echo "$label: KorvaneFileCreate ${a} ms, floor ${b} ms (read $(wc -c < "$in") bytes, write $size), $(awk -v a="$a" -v b="$b" 'BEGIN {printf "%.2f", a / b}')x the floor"
done
