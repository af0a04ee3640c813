#!/usr/bin/env bash
# Times KorvaneConvert in header mode with key bytes and a rotation on a
# 2 MiB record input against `cp` of the same file (the floor of reading and
# writing it) and prints the ratio of the medians.
#   bench/convert_bench.sh [path/to/KorvaneConvert] [runs]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tool=${1:-$here/../build/dev/convert/KorvaneConvert}
runs=${2:-11}
[ -x "$tool" ] || { echo "no program at $tool; build first (cmake --workflow --preset test)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$here/timing.sh"


# 32 records of 64 KiB less a little, with small gaps: just under 2 MiB of image.
python3 - "$work/in.mot" <<'PY'
import os, struct, sys
with open(sys.argv[1], "wb") as f:
    address = 0x08000000
    for i in range(32):
        data = os.urandom(65536 - 64)
        f.write(struct.pack(">II", address, len(data)) + data)
        address += len(data) + 32
PY
ours=$(median_ms "$tool" "$work/in.mot" "$work/out.bin" -h-A55A -0102 -1337C0DE -1D0F -0100)
floor=$(median_ms cp "$work/in.mot" "$work/copy.bin")
echo "2 MiB records, header + key + rotation: KorvaneConvert ${ours} ms, cp ${floor} ms, $(ratio "$ours" "$floor")x the time of cp"
