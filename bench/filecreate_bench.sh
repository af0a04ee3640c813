#!/usr/bin/env bash
# Times KorvaneFileCreate against `xxd -i` on the same inputs and prints the
# ratio of the medians.
#   bench/filecreate_bench.sh [path/to/KorvaneFileCreate] [runs]
# Without a path the program of the dev preset's build tree is used.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tool=${1:-$here/../build/dev/filecreate/KorvaneFileCreate}
runs=${2:-11}
command -v xxd >/dev/null || { echo "xxd is needed (apt-get install xxd)"; exit 1; }
[ -x "$tool" ] || { echo "no program at $tool; build first (cmake --workflow --preset test)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# median_ms <command...>: runs the command $runs times, prints the median in ms.
median_ms() {
  local times=()
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.2f", a[int((NR+1)/2)]/1000}'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.1f", a / b}'; }

head -c 1048576 /dev/urandom > "$work/one.bin"
ours=$(median_ms sh -c "'$tool' '$work/one.bin' '$work/one.c' data")
theirs=$(median_ms sh -c "xxd -i '$work/one.bin' > '$work/one.xxd.c'")
echo "single file, 1 MiB:       KorvaneFileCreate ${ours} ms, xxd -i ${theirs} ms, $(ratio "$theirs" "$ours")x faster"

for count in 1 16 128; do
  dir="$work/files$count"
  mkdir -p "$dir"
  : > "$dir/ctl.txt"
  echo "#define MAX_FILE_LENGTH 4" >> "$dir/ctl.txt"
  for i in $(seq "$count"); do
    head -c 65536 /dev/urandom > "$dir/f$i.bin"
    echo "f$i.bin " >> "$dir/ctl.txt"
  done
  ours=$(median_ms sh -c "cd '$dir' && '$tool' -f ctl.txt coll.bin")
  theirs=$(median_ms sh -c "cd '$dir' && for f in f*.bin; do xxd -i \$f; done > all.xxd.c")
  printf -- '-f, %3d files of 64 KiB: KorvaneFileCreate %s ms, xxd -i %s ms, %sx faster\n' \
    "$count" "$ours" "$theirs" "$(ratio "$theirs" "$ours")"
done
