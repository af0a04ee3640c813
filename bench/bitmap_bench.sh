#!/usr/bin/env bash
# Times KorvaneFileCreate -bm against ImageMagick's XBM export of the same
# bitmaps (a 4096 x 4096 1-bit and a 2048 x 2048 24-bit picture) and prints
# the ratio of the medians. Needs ImageMagick (apt-get install imagemagick).
#   bench/bitmap_bench.sh [path/to/KorvaneFileCreate] [runs]
# Without a path the program of the dev preset's build tree is used.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tool=${1:-$here/../build/dev/filecreate/KorvaneFileCreate}
runs=${2:-11}
im=/usr/bin/convert
[ -x "$im" ] || { echo "ImageMagick is needed (apt-get install imagemagick)"; exit 1; }
[ -x "$tool" ] || { echo "no program at $tool; build first (cmake --workflow --preset test)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$here/timing.sh"



"$im" -seed 3 -size 4096x4096 plasma:fractal -monochrome BMP3:"$work/mono.bmp"
"$im" -seed 4 -size 2048x2048 plasma:fractal -type truecolor BMP3:"$work/colour.bmp"

# The 4096 x 4096 array (2 MiB) exceeds the reversal buffer, so only the
# 24-bit picture (512 KiB of array) is also timed with reversed rows.
for run in "mono -bm 4096 x 4096, 1 bit" "colour -bm 2048 x 2048, 24 bits" "colour -bmi 2048 x 2048, 24 bits, reversed"; do
  read -r name mode label <<<"$run"
  ours=$(median_ms "$tool" "$mode" "$work/$name.bmp" "$work/$name.c")
  theirs=$(median_ms "$im" "$work/$name.bmp" "$work/$name.xbm")
  echo "$label: KorvaneFileCreate ${ours} ms, ImageMagick XBM ${theirs} ms, $(ratio "$theirs" "$ours")x faster"
done
