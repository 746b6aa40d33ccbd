#!/usr/bin/env bash
# Times Vexel on large generated makefiles. Usage: bench/run.sh [BUILD_DIR]
# Each case runs three times; the figures are wall time and peak memory.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${1:-$root/build/benchmark}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXEL_BUILD_TESTS=OFF >/dev/null
ninja -C "$build" vexel vexel_make_bench >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export COMSPEC="${COMSPEC:-/bin/sh}"

run_case() {
  local name=$1 expect=$2; shift 2
  local dir="$work/$name"
  "$build/bench/vexel_make_bench" "$dir" "$@"
  for attempt in 1 2 3; do
    (cd "$dir" && /usr/bin/time -f "%e s wall, %U s user, %S s system, %M KiB" -o "$work/time" "$build/vexel" >"$work/out" || true)
    grep -q "$expect" "$work/out" || { echo "$name: unexpected output:"; cat "$work/out"; exit 1; }
    printf '%-34s run %d: %s\n' "$name ($(wc -l <"$dir/MakeFile") lines)" "$attempt" "$(cat "$work/time")"
  done
  rm -rf "$dir"
}

run_case "wide 100000 x 10, up to date" "Target is up to date." wide 100000 10
run_case "chain 100000, up to date" "Target is up to date." chain 100000
run_case "chain 1000000, all stale" "Target is up to date." stale 1000000
run_case "valley 1000000, all stale" "Target is up to date." valley 1000000
run_case "syntax error on line 1000000" "Target Line Syntax error" syntax 1000000
