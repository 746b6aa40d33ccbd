#!/usr/bin/env bash
# Peak memory of the up-to-date check on the flat tree of bench/compare.sh
# (N objects, each from its source and the same 10 headers, and one target
# from all of them) by the 64-bit build and by a 32-bit one
# (cmake/linux-m32.cmake): what the 32-bit data model (4-byte pointers and
# sizes) saves or costs. The 32-bit build runs under qemu-i386, named on the
# command line (no registration needed: the tree is up to date, so nothing
# else is started), beside qemu's own peak for an empty 32-bit program; where
# the kernel starts 32-bit programs itself, the 32-bit build is also run
# directly, which needs no correction. With --windows EXE, also that 32-bit
# vexel.exe under 32-bit Wine (in $WINEPREFIX), beside an empty 32-bit
# Windows program's peak. Memory only: the emulators' times say nothing of
# the tool's. Not part of CI.
# Usage: bench/m32_memory.sh [--windows EXE] [SIZE...]  (default 1000000)
set -euo pipefail
export LC_ALL=C
root=$(cd "$(dirname "$0")/.." && pwd)
windows=""
if [ "${1:-}" = --windows ]; then
  windows=$(realpath "$2")
  shift 2
fi
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1000000)
qemu=/usr/bin/qemu-i386
[ -x "$qemu" ] || bash "$root/scripts/install-packages.sh" --no-install-recommends qemu-user
[ -x /usr/bin/time ] || bash "$root/scripts/install-packages.sh" time

build64="$root/build/benchmark" build32="$root/build/benchmark-m32"
cmake -S "$root" -B "$build64" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXEL_BUILD_TESTS=OFF >/dev/null
cmake --build "$build64" --target vexel vexel_make_bench >/dev/null
cmake -S "$root" -B "$build32" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXEL_BUILD_TESTS=OFF \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/linux-m32.cmake" >/dev/null
cmake --build "$build32" --target vexel >/dev/null

work=$(mktemp -d)
trap 'cd /; rm -rf "$work"' EXIT
trap 'exit 1' INT TERM HUP PIPE
export COMSPEC="${COMSPEC:-/bin/sh}"
printf 'int main(void) { return 0; }\n' >"$work/empty.c"
gcc -m32 -O2 -o "$work/empty32" "$work/empty.c"
wine=/usr/lib/wine/wine
if [ -n "$windows" ]; then
  i686-w64-mingw32-gcc -O2 -static -o "$work/empty.exe" "$work/empty.c"
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # A wineserver kept running (until 10 s after the last program), so that
  # no run counts one that starts.
  "$wine" "$work/empty.exe"
  "$(dirname "$wine")/wineserver" -p10 2>/dev/null || true
fi

# Peak resident memory in KiB of the command, run in the tree; the tool must
# find the tree up to date.
peak() {
  local status=0
  /usr/bin/time -f %M -o "$work/time" "$@" >"$work/out" 2>&1 || status=$?
  if [ "${2:-}" != "$work/empty32" ] && [ "${2:-}" != "$work/empty.exe" ]; then
    [ "$status" -eq 0 ] && grep -q "Vexel: Target is up to date\." "$work/out" ||
      { echo "not up to date: $* ($(head -c 200 "$work/out"))" >&2; exit 1; }
  fi
  tail -n 1 "$work/time"
}
mib() { awk -v k="$1" 'BEGIN { printf "%.1f MiB", k / 1024 }'; }

native32=no
"$work/empty32" 2>/dev/null && native32=yes

echo "Peak memory of the up-to-date check, flat tree, $(uname -m) kernel $(uname -r); $("$qemu" --version | head -n 1)"
echo "qemu-i386, empty 32-bit program: $(mib "$(peak "$qemu" "$work/empty32")")"
[ -z "$windows" ] || echo "32-bit Wine, empty 32-bit Windows program: $(mib "$(peak "$wine" "$work/empty.exe")")"
for n in "${sizes[@]}"; do
  rm -rf "$work/tree"
  "$build64/bench/vexel_make_bench" "$work/tree" flat "$n" 10 >/dev/null
  cd "$work/tree"
  line="flat $n (makefile $(stat -c %s MakeFile) bytes): 64-bit $(mib "$(peak "$build64/vexel")")"
  line+=", 32-bit under qemu-i386 $(mib "$(peak "$qemu" "$build32/vexel")")"
  [ "$native32" = no ] || line+=", 32-bit run directly $(mib "$(peak "$build32/vexel")")"
  [ -z "$windows" ] || line+=", vexel.exe under 32-bit Wine $(mib "$(peak "$wine" "$windows")")"
  echo "$line"
  cd "$work"
done
