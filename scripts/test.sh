#!/usr/bin/env bash
# Builds Vexel natively and for 32-bit Windows, and runs every test: the unit
# tests natively and under Wine, the end-to-end tests against the native
# executable and against vexel.exe under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

"$root/scripts/install-packages.sh" build-essential cmake ninja-build googletest file \
  g++-mingw-w64-i686 wine wine32:i386

# Windows: vexel.exe, its unit tests (run under Wine by ctest) and the
# programs the end-to-end tests need.
export WINEPREFIX="${WINEPREFIX:-/tmp/vexel-wineprefix}"
export WINEDEBUG=-all
# No prompts for optional Wine components on a new prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
windows="$root/build/windows"
cmake -S "$root" -B "$windows" -G Ninja -DVEXEL_WARNINGS_AS_ERRORS=ON \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
ninja -C "$windows" -j "$jobs"
file "$windows/vexel.exe"
wineboot --init >/dev/null 2>&1 || true

# Native: the tool, its tests, and the end-to-end run against vexel.exe.
native="$root/build/native"
cmake -S "$root" -B "$native" -G Ninja -DVEXEL_WARNINGS_AS_ERRORS=ON \
  -DVEXEL_WINDOWS_BUILD_DIR="$windows" >/dev/null
ninja -C "$native" -j "$jobs"

(cd "$windows" && ctest --output-on-failure) | tee "$windows/ctest.out"
(cd "$native" && ctest --output-on-failure) | tee "$native/ctest.out"

# Cases that cannot be arranged on a platform are skipped with a reason:
# show every one of them.
echo "Skipped cases and why:"
for build in "$windows" "$native"; do
  grep -h -A1 ': Skipped$' "$build/Testing/Temporary/LastTest.log" | grep -v -e '^--$' -e ': Skipped$' |
    sed 's/^/  /' || true
done
total=0
for count in $(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$windows/ctest.out" "$native/ctest.out"); do
  total=$((total + count))
done
echo "Test programs: $total passed, 0 failed"
