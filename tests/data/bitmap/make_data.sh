#!/usr/bin/env bash
# Makes the bitmaps of this folder once with ImageMagick, and beside each the
# tool's own reading of its pixels (plain PBM for 1-bit files, plain PGM of the
# blue channel for 24-bit files). The tests only read the results, so they need
# no ImageMagick. Run from this folder: ./make_data.sh
set -euo pipefail
im=/usr/bin/convert
[ -x "$im" ] || { echo "ImageMagick is needed (apt-get install imagemagick)"; exit 1; }

# A 1-bit logo; ImageMagick stores white as palette entry 0.
"$im" -size 70x40 xc:white -fill black -draw "circle 18,20 18,6" -draw "rectangle 40,8 64,32" \
  -draw "line 0,39 69,0" -monochrome BMP3:logo.bmp
# The same logo with a 108-byte information header.
"$im" logo.bmp -monochrome BMP:logo-v4.bmp
# The same picture with the palette entries swapped and the bits complemented.
python3 - <<'PY'
data = bytearray(open("logo.bmp", "rb").read())
offset = int.from_bytes(data[10:14], "little")
data[54:62] = data[58:62] + data[54:58]
for i in range(offset, len(data)):
    data[i] ^= 0xFF
open("logo-swapped.bmp", "wb").write(data)
PY
# 24-bit pictures whose widths are not multiples of 4 (rows end in padding).
"$im" -size 30x21 xc: -sparse-color barycentric '0,0 blue 29,0 red 0,20 black' -type truecolor BMP3:gradient24.bmp
"$im" -seed 7 -size 13x9 plasma:fractal -type truecolor BMP3:plasma24.bmp

for f in logo logo-v4 logo-swapped; do
  "$im" "$f.bmp" -compress none "$f.pbm"
done
for f in gradient24 plasma24; do
  "$im" "$f.bmp" -channel B -separate -depth 8 -compress none "$f-blue.pgm"
done
