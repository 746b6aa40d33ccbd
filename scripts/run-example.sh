#!/usr/bin/env bash
# Builds Vexel, then builds the example program with it, twice: the second
# run finds everything up to date.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-packages.sh" build-essential cmake ninja-build

cmake -S "$root" -B "$root/build/release" -G Ninja -DVEXEL_BUILD_TESTS=OFF >/dev/null
ninja -C "$root/build/release" vexel >/dev/null

# Vexel refuses to run without COMSPEC; its value is not used on POSIX.
export COMSPEC="${COMSPEC:-/bin/sh}"
cd "$root/examples/greet"
rm -f hello ./*.o ./*.a
"$root/build/release/vexel"
"$root/build/release/vexel"
./hello Vexel
