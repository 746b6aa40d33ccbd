#!/usr/bin/env bash
# Times vexel.exe's up-to-date check against ninja.exe under wine64, on the
# flat trees of compare.sh (make_bench flat N 10, with ninja's Windows log),
# with an empty console program's start-up as the floor.
#
# Usage: bench/windows.sh [--runs N] [--baseline VEXEL_EXE] [--ninja NINJA_EXE] [SIZE...]
#   SIZE...             objects N (default 2500 5000 10000: N+1 targets, 2N+11 files)
#   --runs N            timed runs of each program per case (default 5)
#   --baseline EXE      also time another vexel.exe, as "before"
#   --ninja EXE         ninja for 64-bit Windows (default ../shared/peers/ninja-win64.exe)
#
# Each case gets one untimed round that checks every program finds the tree
# up to date, then the timed rounds, interleaved (empty, ninja, vexel, ...),
# so that noise on the machine hits all alike; the figures are medians of wall
# time around wine64. A wineserver is kept running for the whole script, so
# that no run pays for starting one. WINEPREFIX is taken from the environment
# (default: a prefix of its own, made on first use).
set -euo pipefail
export LC_ALL=C
root=$(cd "$(dirname "$0")/.." && pwd)

runs=5
sizes=()
baseline=""
ninja_exe="$root/../shared/peers/ninja-win64.exe"
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift ;;
    --baseline) baseline=$(realpath "$2"); shift ;;
    --ninja) ninja_exe=$2; shift ;;
    *) sizes+=("$1") ;;
  esac
  shift
done
[ ${#sizes[@]} -gt 0 ] || sizes=(2500 5000 10000)
ninja_exe=$(realpath "$ninja_exe")
wine=${WINELOADER:-/usr/lib/wine/wine64}
export WINEPREFIX="${WINEPREFIX:-$HOME/.vexel-bench-wine}" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# The tree generator, natively; vexel.exe, 64-bit, Release; the empty program.
native="$root/build/benchmark"
windows="$root/build/benchmark-win64"
cmake -S "$root" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXEL_BUILD_TESTS=OFF >/dev/null
cmake --build "$native" --target vexel_make_bench >/dev/null
cmake -S "$root" -B "$windows" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXEL_BUILD_TESTS=OFF \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >/dev/null
cmake --build "$windows" --target vexel >/dev/null
work=$(mktemp -d)
echo 'int main() { return 0; }' >"$work/empty.c"
x86_64-w64-mingw32-gcc -O2 -o "$work/empty.exe" "$work/empty.c"

"$wine" wineboot.exe --init >/dev/null 2>&1 || true
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=wineserver
"$wineserver" -p5 2>/dev/null || true # ends on its own 5 s after the last program
trap 'cd /; rm -rf "$work"' EXIT
trap 'exit 1' INT TERM HUP PIPE
tree="$work/tree"

programs=(empty ninja vexel)
[ -z "$baseline" ] || programs+=(before)

# The CPU time, in ms, of this shell's finished children so far (user and
# system; wine64 runs each program in its own process, a child of this
# shell; the wineserver is not one). Sets children_ms.
children_cpu() {
  local user system
  times >"$work/times"
  read -r user system < <(tail -n 1 "$work/times")
  children_ms=0
  for t in "$user" "$system"; do # "XmS.SSSs"
    local seconds=${t#*m}
    seconds=${seconds%s}
    children_ms=$((children_ms + 60000 * ${t%%m*} + 10#${seconds/./}))
  done
}

# Runs program $1 once in the tree; sets status, wall_us and cpu_ms.
run_once() {
  local exe start end
  case "$1" in
    empty) exe="$work/empty.exe" ;;
    ninja) exe="$ninja_exe" ;;
    vexel) exe="$windows/vexel.exe" ;;
    before) exe="$baseline" ;;
  esac
  children_cpu
  local before_ms=$children_ms
  start=$EPOCHREALTIME
  status=0
  "$wine" "$exe" >"$work/out" 2>&1 || status=$?
  end=$EPOCHREALTIME
  wall_us=$(( ${end/./} - ${start/./} ))
  children_cpu
  cpu_ms=$((children_ms - before_ms))
}

# Whether the run just made found the tree up to date.
up_to_date() {
  [ "$status" -eq 0 ] || return 1
  case "$1" in
    empty) [ ! -s "$work/out" ] ;;
    ninja) grep -q "ninja: no work to do\." "$work/out" ;;
    vexel | before) grep -q "Vexel: Target is up to date\." "$work/out" ;;
  esac
}

median() {
  printf '%s\n' $1 | sort -n | sed -n "$((($(wc -w <<<"$1") + 1) / 2))p"
}

load_at_start=$(cut -d' ' -f1-3 /proc/loadavg)
printf '%-16s' "targets (files)"
for program in "${programs[@]}"; do printf ' %9s' "$program"; done
printf ' %12s %12s' "vexel/ninja" "vexel-empty"
for program in "${programs[@]:1}"; do printf ' %11s' "$program cpu"; done
printf ' %10s\n' "cpu v/n"
for n in "${sizes[@]}"; do
  rm -rf "$tree"
  "$native/bench/vexel_make_bench" "$tree" flat "$n" 10 windows
  cd "$tree"
  declare -A walls=() cpus=()
  for program in "${programs[@]}"; do
    run_once "$program"
    if ! up_to_date "$program"; then
      echo "$program does not find flat $n up to date:" >&2
      head -n 5 "$work/out" >&2
      exit 1
    fi
  done
  for ((round = 0; round < runs; round++)); do
    for program in "${programs[@]}"; do
      run_once "$program"
      up_to_date "$program" || { echo "$program, flat $n: not up to date" >&2; exit 1; }
      walls[$program]+="$wall_us "
      cpus[$program]+="$cpu_ms "
    done
  done
  cd "$work"
  printf '%-16s' "$((n + 1)) ($((2 * n + 11)))"
  for program in "${programs[@]}"; do
    awk -v w="$(median "${walls[$program]}")" 'BEGIN { printf " %8.3fs", w / 1e6 }'
  done
  awk -v v="$(median "${walls[vexel]}")" -v j="$(median "${walls[ninja]}")" \
    -v e="$(median "${walls[empty]}")" 'BEGIN { printf " %11.2fx %11.3fs", v / j, (v - e) / 1e6 }'
  for program in "${programs[@]:1}"; do
    awk -v c="$(median "${cpus[$program]}")" 'BEGIN { printf " %10.3fs", c / 1e3 }'
  done
  awk -v v="$(median "${cpus[vexel]}")" -v j="$(median "${cpus[ninja]}")" \
    'BEGIN { printf " %9.2fx\n", v / (j > 0 ? j : 1) }'
done

cat <<EOF

Median of $runs runs, wall time of wine64 running each program in the tree;
interleaved. empty: an empty console program, the start-up floor. cpu: the
median user and system time of the program's process (the wineserver's is
not counted), less sensitive than the wall time to other work on the machine.
$(nproc) cores; $("$wine" --version); ninja $("$wine" "$ninja_exe" --version 2>/dev/null | tr -d '\r');
Vexel $(git -C "$root" describe --always --dirty 2>/dev/null)${baseline:+; before: $baseline}; load average at start $load_at_start,
at end $(cut -d' ' -f1-3 /proc/loadavg).
EOF
