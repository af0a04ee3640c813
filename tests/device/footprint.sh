#!/usr/bin/env bash
# The device code's cost on a small Cortex-M0+ (arm-none-eabi-gcc -Os
# -ffreestanding): flash (.text) of the collection reader and of the upload
# decoder with its CRC, nothing pulled in from a library (nm -u names only
# the reader's own functions), and
# the decoder's RAM. Fails beyond the limits below; prints the figures.
# Skips without the compiler unless KORVANE_DEVICE_REQUIRED=1.
set -euo pipefail
device=$(cd "$(dirname "$0")/../../device" && pwd)
# The reader checks everything that decides what it returns and leaves the
# bytes that carry nothing (padding, end-of-list zeros, the visibility mark)
# to the host or the optional korvane_collection_check; its budget is 512
# bytes, and it measures 512.
READER_LIMIT=512
DECODER_LIMIT=1536
STATE_LIMIT=64
if ! command -v arm-none-eabi-gcc >/dev/null 2>&1; then
  echo "footprint skipped: arm-none-eabi-gcc not installed"
  [ "${KORVANE_DEVICE_REQUIRED:-0}" = 1 ] && exit 1
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc() { arm-none-eabi-gcc -mcpu=cortex-m0plus -mthumb -Os -ffreestanding -std=c99 -I"$device/include" -c "$@"; }
for part in collection collection_check upload crc16; do
  cc "$device/src/$part.c" -o "$work/$part.o"
done
arm-none-eabi-ld -r "$work/upload.o" "$work/crc16.o" -o "$work/decoder.o"
printf '#include "korvane/upload.h"\nconst korvane_upload state;\nconst korvane_upload_setup setup;\n' > "$work/state.c"
cc "$work/state.c" -o "$work/state.o"

text() { arm-none-eabi-size -A "$1" | awk '$1 ~ /^\.text/ { sum += $2 } END { print sum + 0 }'; }
symbol() { echo $((16#$(arm-none-eabi-nm -S "$work/state.o" | awk -v s="$1" '$4 == s { print $2 }'))); }
reader=$(text "$work/collection.o")
check=$(text "$work/collection_check.o")
decoder=$(text "$work/decoder.o")
state=$(symbol state)
setup=$(symbol setup)
echo "collection reader: $reader bytes of .text (limit $READER_LIMIT)"
echo "optional check of the bytes the reader leaves alone: $check bytes of .text"
echo "upload decoder with its CRC: $decoder bytes of .text (limit $DECODER_LIMIT)"
echo "decoder state: $state bytes of RAM (limit $STATE_LIMIT), plus the caller's setup of $setup bytes"
status=0
for object in collection.o collection_check.o decoder.o; do
  undefined=$(arm-none-eabi-nm -u "$work/$object" | grep -v ' korvane_' || true)
  if [ -n "$undefined" ]; then
    echo "FAILED: $object needs library code:"; echo "$undefined"; status=1
  fi
done
[ "$reader" -le $READER_LIMIT ] || { echo "FAILED: the reader is over its limit"; status=1; }
[ "$decoder" -le $DECODER_LIMIT ] || { echo "FAILED: the decoder is over its limit"; status=1; }
[ "$state" -le $STATE_LIMIT ] || { echo "FAILED: the decoder state is over its limit"; status=1; }
exit $status
