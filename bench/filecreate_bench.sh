#!/usr/bin/env bash
# Times KorvaneFileCreate against `xxd -i` on the same inputs, and against
# the floor of its work: `cat` writing files of the same sizes as its outputs.
# Prints the medians and their ratios.
#   bench/filecreate_bench.sh [path/to/KorvaneFileCreate] [runs]
# Without a path the program of the dev preset's build tree is used.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tool=${1:-$here/../build/dev/filecreate/KorvaneFileCreate}
runs=${2:-11}
[ -e "$tool" ] && tool=$(realpath "$tool")
command -v xxd >/dev/null || { echo "xxd is needed (apt-get install xxd)"; exit 1; }
[ -x "$tool" ] || { echo "no program at $tool; build first (cmake --workflow --preset test)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$here/timing.sh"


xxd_all() { for f in f*.bin; do xxd -i "$f"; done; }


head -c 1048576 /dev/urandom > "$work/one.bin"
ours=$(median_ms "$tool" "$work/one.bin" "$work/one.c" data)
theirs=$(SINK="$work/one.xxd.c" median_ms xxd -i "$work/one.bin")
floor=$(SINK="$work/one.cat.c" median_ms cat "$work/one.c")
echo "single file, 1 MiB:       KorvaneFileCreate ${ours} ms, xxd -i ${theirs} ms, $(ratio "$theirs" "$ours")x faster;" \
  "cat of the output ${floor} ms, $(ratio "$ours" "$floor")x the floor"

for count in 1 16 128; do
  dir="$work/files$count"
  mkdir -p "$dir"
  : > "$dir/ctl.txt"
  printf "#define MAX_FILE_LENGTH 4\n#define MIME_HTML 1\n#define FILE_VISIBLE 1\n" >> "$dir/ctl.txt"
  for i in $(seq "$count"); do
    head -c 65536 /dev/urandom > "$dir/f$i.bin"
    echo "f$i.bin " >> "$dir/ctl.txt"
  done
  cd "$dir"
  ours=$(median_ms "$tool" -f ctl.txt coll.bin)
  theirs=$(SINK=all.xxd.c median_ms xxd_all)
  cat_outputs() { cat coll.bin > coll.copy; cat coll.c; }
  floor=$(SINK=coll.copy.c median_ms cat_outputs)
  cd - >/dev/null
  printf -- '-f, %3d files of 64 KiB: KorvaneFileCreate %s ms, xxd -i %s ms, %sx faster; cat of the outputs %s ms, %sx the floor\n' \
    "$count" "$ours" "$theirs" "$(ratio "$theirs" "$ours")" "$floor" "$(ratio "$ours" "$floor")"
done
