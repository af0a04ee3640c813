# Shared by the benchmark scripts (sourced, not run).
# median_ms <command...>: runs the command $runs times with its standard output
# sent to $SINK (default /dev/null) and prints the median wall time in ms.
# EPOCHREALTIME keeps the timer itself from forking.
median_ms() {
  local times=()
  for _ in $(seq "$runs"); do
    local start=$EPOCHREALTIME
    "$@" > "${SINK:-/dev/null}"
    local end=$EPOCHREALTIME
    times+=($(awk -v a="$start" -v b="$end" 'BEGIN {printf "%d", (b - a) * 1000000}'))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.2f", a[int((NR+1)/2)]/1000}'
}

# ratio <a> <b>: a / b with one decimal.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.1f", a / b}'; }
