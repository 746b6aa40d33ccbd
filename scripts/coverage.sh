#!/usr/bin/env bash
# Line coverage of the code above the operating system (src/ without src/os/)
# by the unit tests and the native end-to-end tests: a gcc --coverage build of
# its own, in build/coverage. Prints the figure last.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-packages.sh" build-essential cmake ninja-build googletest gcovr

build="$root/build/coverage"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=--coverage >/dev/null
ninja -C "$build" -j "$(nproc)" vexel_tests
find "$build" -name '*.gcda' -delete
(cd "$build" && ctest -E wine --output-on-failure)

gcovr --root "$root" --filter "$root/src/" --exclude "$root/src/os/" --txt "$build/coverage.txt" \
  "$build"
sed -En 's|^TOTAL +([0-9]+) +([0-9]+) +([0-9.]+%)$|Line coverage outside src/os/: \3 (\2 of \1 lines)|p' \
  "$build/coverage.txt"
