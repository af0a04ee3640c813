#!/usr/bin/env bash
# KorvaneInspect glcd --pbm on a C file of many tiny arrays that all share a
# name: the time of the run and its peak memory against the input's size.
#   bench/pbm_names_bench.sh [build folder] [arrays]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build/dev}
count=${2:-30000}
inspect=$build/inspect/KorvaneInspect
[ -x "$inspect" ] || { echo "no program at $inspect; build first"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$work/many.c" "$count" <<'PY'
import sys
with open(sys.argv[1], "w") as f:
    for i in range(int(sys.argv[2])):
        f.write("a[]={0,0,1,0,1,0x80};\n")
PY
mkdir "$work/pics"
size=$(stat -c %s "$work/many.c")
/usr/bin/time -f "%e s elapsed, %U s user + %S s system, peak %M KiB" -o "$work/time" "$inspect" glcd "$work/many.c" --pbm "$work/pics" >/dev/null
echo "$count arrays, input $((size / 1024)) KiB: $(cat "$work/time"), $(ls "$work/pics" | wc -l) pictures"
