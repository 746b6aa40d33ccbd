#!/usr/bin/env bash
# Builds Vexel natively and for 32-bit Windows, and runs every test: the unit
# tests natively and under Wine, the end-to-end tests against the native
# executable and against the Windows executable under Wine; the unit and
# end-to-end tests of a 32-bit POSIX build through qemu-i386
# (scripts/test-m32.sh); then the unit and native end-to-end tests again with
# the sanitizers, and the fuzz targets for a bounded time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

echo "test.sh: every build and test, about 12 to 18 minutes on two quiet cores, up to 40 on busy ones; first what is missing is installed with apt-get"
"$root/scripts/install-packages.sh" build-essential cmake ninja-build googletest file \
  g++-mingw-w64-i686 wine wine32:i386 clang libclang-rt-14-dev g++-multilib
# Without its recommended qemu-user-binfmt, which would register emulators
# for the whole machine: the 32-bit run registers qemu-i386 privately.
"$root/scripts/install-packages.sh" --no-install-recommends qemu-user

export WINEPREFIX="${WINEPREFIX:-/tmp/vexel-wineprefix}"
export WINEDEBUG=-all
# No prompts for optional Wine components on a new prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="

# Where the Windows build is tested: as the product itself, under 32-bit
# Wine, where a small 32-bit Windows program runs there as it should;
# otherwise the same sources built for 64-bit Windows, under 64-bit Wine.
windows="$root/build/windows"
if why=$("$root/scripts/wine32-probe.sh" /usr/lib/wine/wine); then
  tested="$windows"
  loader=/usr/lib/wine/wine
  product_tests=ON
else
  echo "$why: the Windows layer is tested as a 64-bit build under 64-bit Wine instead."
  "$root/scripts/install-packages.sh" g++-mingw-w64-x86-64 wine64
  tested="$root/build/windows64"
  loader=/usr/lib/wine/wine64
  export WINELOADER="$loader"
  product_tests=OFF
fi

# The product: vexel.exe for 32-bit Windows.
cmake -S "$root" -B "$windows" -G Ninja -DVEXEL_WARNINGS_AS_ERRORS=ON \
  -DVEXEL_BUILD_TESTS="$product_tests" -DVEXEL_WINE_LOADER="$loader" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
ninja -C "$windows" -j "$jobs"
file "$windows/vexel.exe"
if [ "$tested" != "$windows" ]; then
  cmake -S "$root" -B "$tested" -G Ninja -DVEXEL_WARNINGS_AS_ERRORS=ON \
    -DVEXEL_WINE_LOADER="$loader" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >/dev/null
  ninja -C "$tested" -j "$jobs"
fi
"$loader" wineboot.exe --init >/dev/null 2>&1 || true

# Native: the tool, its tests, and the end-to-end run against the Windows
# executable under Wine.
native="$root/build/native"
cmake -S "$root" -B "$native" -G Ninja -DVEXEL_WARNINGS_AS_ERRORS=ON \
  -DVEXEL_WINDOWS_BUILD_DIR="$tested" -DVEXEL_WINE_COMMAND="$loader" >/dev/null
ninja -C "$native" -j "$jobs"

(cd "$tested" && ctest --output-on-failure) | tee "$tested/ctest.out"
(cd "$native" && ctest --output-on-failure) | tee "$native/ctest.out"

# The 32-bit POSIX build, its tests run through qemu-i386; or one line that
# says SKIP and why.
m32="$root/build/m32"
VEXEL_JOBS="$jobs" "$root/scripts/test-m32.sh" "$m32" | tee "$root/build/m32.out"
m32_programs=$(sed -n 's/^32-bit test programs: \([0-9]*\) passed$/\1/p' "$root/build/m32.out")

# Cases that cannot be arranged on a platform are skipped with a reason:
# show every one of them.
echo "Skipped cases and why:"
for build in "$tested" "$native" ${m32_programs:+"$m32"}; do
  grep -h -A1 ': Skipped$' "$build/Testing/Temporary/LastTest.log" | grep -v -e '^--$' -e ': Skipped$' |
    sed 's/^/  /' || true
done

# The unit tests and the native end-to-end tests (against this build's own
# vexel) with the address and undefined-behaviour sanitizers; only the
# targets they need are built.
sanitize="$root/build/sanitize"
cmake -S "$root" -B "$sanitize" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVEXEL_WARNINGS_AS_ERRORS=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
  >/dev/null
ninja -C "$sanitize" -j "$jobs" vexel_tests
(cd "$sanitize" && ctest -E wine --output-on-failure) | tee "$sanitize/ctest.out"

# The fuzz targets, built with clang, each run for half a minute from a copy
# of its seeds; a crash or a broken check fails the run and leaves the input
# in build/fuzz.
fuzz="$root/build/fuzz"
cmake -S "$root" -B "$fuzz" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVEXEL_FUZZ=ON -DVEXEL_WARNINGS_AS_ERRORS=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all" >/dev/null
ninja -C "$fuzz" -j "$jobs" fuzz_run fuzz_syntax
seeds=$(mktemp -d)
trap 'rm -rf "$seeds"' EXIT
fuzzed=0
for target in run syntax; do
  cp -r "$root/tests/fuzz/corpus/$target" "$seeds/$target"
  if ! "$fuzz/tests/fuzz/fuzz_$target" -max_len=4096 -max_total_time=30 -print_final_stats=1 \
    -artifact_prefix="$fuzz/$target-" "$seeds/$target" >"$fuzz/$target.log" 2>&1; then
    tail -n 40 "$fuzz/$target.log"
    echo "fuzz_$target failed"
    exit 1
  fi
  echo "fuzz_$target: $(sed -n 's/^stat::number_of_executed_units: *//p' "$fuzz/$target.log") runs, no failure"
  fuzzed=$((fuzzed + 1))
done

total=$((fuzzed + ${m32_programs:-0}))
for count in $(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$tested/ctest.out" "$native/ctest.out" \
  "$sanitize/ctest.out"); do
  total=$((total + count))
done
echo "Test programs: $total passed, 0 failed"
