#!/usr/bin/env bash
# Times Vexel's up-to-date check against GNU make and ninja on the same
# generated trees, and Vexel alone on more shapes, at several sizes, with the
# stat floor of each case: the time to stat each distinct name once, with as
# many threads as Vexel's stamp fetch (bench/stat_floor.cpp).
#
# Usage: bench/compare.sh [--quick] [--runs N] [--baseline VEXEL] [BUILD_DIR] [SIZE...]
#   SIZE...           sizes N to run (default 10000 100000 1000000)
#   --runs N          timed runs of each tool per case (default 5)
#   --quick           sizes 1000 10000, 3 runs: a check that the script works
#   --baseline VEXEL  also time another Vexel executable (say, one built
#                     before a change) in every case, as tool "before", so
#                     that a change is measured side by side in one run
#
# Shapes, all up to date (see make_bench.cpp):
#   flat N    N objects, each made from its source and the same 10 headers,
#             and one link target made from all objects: make, ninja, Vexel
#   chain N   a chain of N targets: make, ninja, Vexel
#   fan N     one target with N dependencies: make, ninja, Vexel
#   wide N    N targets with 10 dependencies each: Vexel alone
#   valley N  two chains of N/2 targets, all stale, no commands: Vexel alone
#
# Each case gets one untimed round that checks every tool finds the tree up to
# date, then the timed rounds, interleaved (vexel, make, ninja, vexel, ...) so
# that noise on the machine hits all tools alike. Wall time is taken around
# /usr/bin/time, which gives the peak memory; the figures are medians.
set -euo pipefail
export LC_ALL=C
root=$(cd "$(dirname "$0")/.." && pwd)

runs=5
sizes=()
build=""
baseline=""
while [ $# -gt 0 ]; do
  case "$1" in
    --quick) runs=3; sizes=(1000 10000) ;;
    --runs) runs=$2; shift ;;
    --baseline) baseline=$(realpath "$2"); shift ;;
    [0-9]*) sizes+=("$1") ;;
    *) build=$1 ;;
  esac
  shift
done
[ ${#sizes[@]} -gt 0 ] || sizes=(10000 100000 1000000)
build="${build:-$root/build/benchmark}"

[ -x /usr/bin/time ] || bash "$root/scripts/install-packages.sh" time
if [ -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVEXEL_BUILD_TESTS=OFF >/dev/null
else
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXEL_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target vexel vexel_make_bench vexel_stat_floor >/dev/null
vexel="$build/vexel"
generate="$build/bench/vexel_make_bench"
floor="$build/bench/vexel_stat_floor"

work=$(mktemp -d)
trap 'cd /; rm -rf "$work"' EXIT
# Signals end the script through its exit trap, which deletes the trees.
trap 'exit 1' INT TERM HUP PIPE
tree="$work/tree"
export COMSPEC="${COMSPEC:-/bin/sh}"
# The trees' commands run cc. Were a tool to find something stale, this cc does
# nothing, so the tree stays as generated and the check below flags the run.
mkdir "$work/noop"
ln -s /bin/true "$work/noop/cc"
export PATH="$work/noop:$PATH"
# An outer make must not pass its flags to the make being timed.
unset MAKEFLAGS MFLAGS MAKELEVEL

load_at_start=$(cut -d' ' -f1-3 /proc/loadavg)
tools=(vexel)
vexel_tools=(vexel)
if [ -n "$baseline" ]; then
  [ -x "$baseline" ] || { echo "no executable: $baseline" >&2; exit 1; }
  tools+=(before)
  vexel_tools+=(before)
fi
tools+=(floor)
vexel_tools+=(floor)
if [[ "$(make --version 2>/dev/null || true)" == "GNU Make"* ]]; then
  tools+=(make)
else
  echo "GNU make is not installed: make is skipped."
fi
if command -v ninja >/dev/null; then
  tools+=(ninja)
else
  echo "ninja is not installed: ninja is skipped."
fi

# What each tool says when all is up to date.
up_to_date_of() {
  case "$1" in
    vexel | before) echo "Vexel: Target is up to date\." ;;
    make) echo "is up to date\.|Nothing to be done" ;;
    ninja) echo "ninja: no work to do\." ;;
    floor) echo "names have a time" ;;
  esac
}

# Runs tool $1 once in the tree; sets status, wall_us, peak_kib.
run_once() {
  local start end
  local -a command
  case "$1" in
    vexel) command=("$vexel") ;;
    before) command=("$baseline") ;;
    make) command=(make -r -R -f GNUmakefile) ;;
    ninja) command=(ninja) ;;
    floor) command=("$floor" "$work/names") ;;
  esac
  start=$EPOCHREALTIME
  status=0
  /usr/bin/time -f "%M" -o "$work/time" "${command[@]}" >"$work/out" 2>&1 || status=$?
  end=$EPOCHREALTIME
  wall_us=$(( ${end/./} - ${start/./} ))
  peak_kib=$(tail -n 1 "$work/time")
}

# Checks the run just made: "ok", "crashed (signal N)" or "not up to date".
verdict() {
  if grep -q "terminated by signal" "$work/time"; then
    echo "crashed ($(grep -o "signal [0-9]*" "$work/time"))"
  elif [ "$status" -ne 0 ] || ! grep -Eq "$(up_to_date_of "$1")" "$work/out"; then
    echo "not up to date"
  else
    echo ok
  fi
}

# The median of a list of numbers separated by blanks.
median() {
  local -a list
  read -ra list <<<"$1"
  printf '%s\n' "${list[@]}" | sort -n | sed -n "$(((${#list[@]} + 1) / 2))p"
}

printf '%-7s %8s %-6s %10s %8s %8s %9s %9s %9s\n' \
  shape N tool "wall ms" "peak MB" "us per N" "wall V/t" "mem V/t" "MakeFile"

# Times shape $1 at size $2 (more make_bench arguments after) with tools_now.
run_case() {
  local shape=$1 n=$2
  echo "generating $shape $n ..." >&2
  rm -rf "$tree"
  "$generate" "$tree" "$shape" "${@:2}"
  cd "$tree"
  # The distinct names of the target lines, for the stat floor.
  awk 'substr($0, 1, 1) != "\t" && index($0, ":") { sub(/:/, " ")
    for (i = 1; i <= NF; i++) if (!seen[$i]++) print $i }' MakeFile >"$work/names"
  local tool state_vexel
  declare -A state walls peaks
  for tool in "${tools_now[@]}"; do
    run_once "$tool"
    state[$tool]=$(verdict "$tool")
    if [ "$tool" = ninja ] && [ "${state[$tool]}" = "not up to date" ]; then
      # The generated .ninja_log was not taken (another log version): that run
      # was a priming run of no-op commands, so the next one is the check.
      echo "ninja primed by a run of no-op commands" >&2
      run_once ninja
      state[$tool]=$(verdict ninja)
    fi
    if [ "${state[$tool]}" = "not up to date" ]; then
      echo "$tool does not find $shape $n up to date:" >&2
      head -n 5 "$work/out" >&2
    fi
  done
  local round
  for ((round = 0; round < runs; round++)); do
    for tool in "${tools_now[@]}"; do
      [ "${state[$tool]}" = ok ] || continue
      run_once "$tool"
      state[$tool]=$(verdict "$tool")
      if [ "${state[$tool]}" != ok ]; then
        echo "$tool, $shape $n, run $((round + 1)): ${state[$tool]}" >&2
        head -n 5 "$work/out" >&2
        continue
      fi
      walls[$tool]+="$wall_us "
      peaks[$tool]+="$peak_kib "
    done
  done
  cd "$work"
  local makefile_mb
  makefile_mb=$(awk -v b="$(stat -c %s "$tree/MakeFile")" 'BEGIN { printf "%.1f MB", b / 1e6 }')
  rm -rf "$tree"

  local vexel_wall vexel_peak wall peak
  state_vexel=${state[vexel]}
  if [ "$state_vexel" = ok ]; then
    vexel_wall=$(median "${walls[vexel]}")
    vexel_peak=$(median "${peaks[vexel]}")
  fi
  for tool in "${tools_now[@]}"; do
    if [ "${state[$tool]}" != ok ]; then
      printf '%-7s %8s %-6s %s\n' "$shape" "$n" "$tool" "${state[$tool]}"
      continue
    fi
    wall=$(median "${walls[$tool]}")
    peak=$(median "${peaks[$tool]}")
    if [ "$tool" = vexel ]; then
      awk -v s="$shape" -v n="$n" -v w="$wall" -v p="$peak" -v m="$makefile_mb" 'BEGIN {
        printf "%-7s %8s %-6s %10.1f %8.1f %8.2f %9s %9s %9s\n",
               s, n, "vexel", w / 1000, p / 1024, w / n, "", "", m }'
    elif [ "$state_vexel" = ok ]; then
      awk -v s="$shape" -v n="$n" -v t="$tool" -v w="$wall" -v p="$peak" \
        -v vw="$vexel_wall" -v vp="$vexel_peak" 'BEGIN {
        printf "%-7s %8s %-6s %10.1f %8.1f %8s %9.2f %9.2f\n",
               s, n, t, w / 1000, p / 1024, "", vw / w, vp / p }'
    else
      awk -v s="$shape" -v n="$n" -v t="$tool" -v w="$wall" -v p="$peak" 'BEGIN {
        printf "%-7s %8s %-6s %10.1f %8.1f\n", s, n, t, w / 1000, p / 1024 }'
    fi
  done
}

tools_now=("${tools[@]}")
for n in "${sizes[@]}"; do run_case flat "$n" 10; done
for n in "${sizes[@]}"; do run_case chain "$n"; done
for n in "${sizes[@]}"; do run_case fan "$n"; done
tools_now=("${vexel_tools[@]}")
for n in "${sizes[@]}"; do run_case wide "$n" 10; done
for n in "${sizes[@]}"; do run_case valley "$n"; done

cat <<EOF

Median of $runs runs. wall V/t and mem V/t are Vexel's figure divided by the
tool's: below 1, Vexel is faster or smaller. us per N is Vexel's wall time per
object (flat), target (chain, wide, valley) or dependency (fan).
Run in the tree as: vexel; make -r -R -f GNUmakefile; ninja (with the
.ninja_log a priming run leaves, written by make_bench). floor: stat_floor,
which stats each distinct name of the MakeFile once with Vexel's thread count
($("$floor" /dev/null | sed 's/.*(//; s/)//')); its wall V/t is Vexel's ratio to the floor.
$(nproc) cores; $(make --version 2>/dev/null | head -n 1); ninja $(ninja --version 2>/dev/null);
Vexel $(git -C "$root" describe --always --dirty 2>/dev/null)${baseline:+; before: $baseline}; load average at start $load_at_start,
at end $(cut -d' ' -f1-3 /proc/loadavg).
EOF
