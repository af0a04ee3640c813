#!/usr/bin/env bash
# Times KorvaneInspect on the largest everyday cases and prints the medians:
#   - listing and checking a collection image of 128 files of 8 KiB (every
#     file read and compared), against `cat` of the image and the files
#   - verifying and decrypting a 2 MiB upload image (key bytes, seed,
#     rotation), then also writing the plain image, against `cp` of the image
#   bench/inspect_bench.sh [build folder] [runs]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build/dev}
runs=${2:-41}
. "$here/timing.sh"
inspect=$build/inspect/KorvaneInspect
for tool in "$inspect" "$build/filecreate/KorvaneFileCreate" "$build/convert/KorvaneConvert"; do
  [ -x "$tool" ] || { echo "no program at $tool; build first (cmake --workflow --preset test)"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work" <<'PY'
import os, struct, sys
work = sys.argv[1]
os.mkdir(os.path.join(work, "web"))
lines = ["#define FILE_HEADER_LEN 16", "#define ALIGN 1", "#define MAX_FILE_LENGTH 4", "#define MIME_HTML 1",
         "#define FILE_VISIBLE 1", "%20000"]
for i in range(128):
    name = f"web/page{i:03}.htm"
    with open(os.path.join(work, name), "wb") as f:
        f.write(os.urandom(8192))
    lines.append(name + (" -w" if i % 2 else " "))
open(os.path.join(work, "web.txt"), "w").write("\n".join(lines) + "\n")
with open(os.path.join(work, "in.mot"), "wb") as f:
    address = 0x08000000
    for i in range(32):
        data = os.urandom(65536 - 64)
        f.write(struct.pack(">II", address, len(data)) + data)
        address += len(data) + 32
PY
args=(-h-A55A -0102 -1337C0DE -1D0F -0100)
(cd "$work" && "$build/filecreate/KorvaneFileCreate" -f web.txt web.bin > /dev/null)
"$build/convert/KorvaneConvert" "$work/in.mot" "$work/app.upl" "${args[@]}" > /dev/null

cd "$work"
listing=$(median_ms "$inspect" image web.txt web.bin)
reading=$(median_ms cat web.bin web/*)
verify=$(median_ms "$inspect" upload app.upl "${args[@]}")
upload=$(median_ms "$inspect" upload app.upl "${args[@]}" --plain plain.bin)
copying=$(median_ms cp app.upl copy.bin)
printf 'image, 128 files of 8 KiB, listed and compared: %6s ms (cat of image and files %s ms)\n' "$listing" "$reading"
printf 'upload, %d bytes, verified and decrypted:   %6s ms, with --plain %s ms (cp of the image %s ms)\n' \
  "$(stat -c %s app.upl)" "$verify" "$upload" "$copying"
