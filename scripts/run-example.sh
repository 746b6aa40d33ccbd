#!/usr/bin/env bash
# The first thing to try: builds Vexel, then uses it on the example program in
# examples/greet to show what it is for. The first run makes what is missing,
# the second finds everything up to date, and after one source file changes
# the third makes anew only what depends on it. The example's outputs are
# kept, so the next run of this script starts from them.
# Usage: bash scripts/run-example.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/release"

step() {
  printf '\n==> %s\n' "$*"
}
# show COMMAND...: prints the command as typed in examples/greet, then runs it.
show() {
  local arg line='$'
  for arg in "$@"; do
    [[ "$arg" == *' '* ]] && arg="'$arg'"
    line+=" $arg"
  done
  printf '%s\n' "$line"
  "$@"
}

step "Installing what is missing for building (build-essential, cmake, ninja-build)"
bash "$root/scripts/install-packages.sh" build-essential cmake ninja-build

step "Building Vexel in build/release (about a minute the first time on two cores)"
mkdir -p "$build"
if ! cmake -S "$root" -B "$build" -G Ninja -DVEXEL_BUILD_TESTS=OFF >"$build/configure.log" 2>&1; then
  cat "$build/configure.log" >&2
  echo "run-example.sh: configuring failed" >&2
  exit 1
fi
# ninja's own lines go to a log; each library and program linked is shown.
status=0
ninja -C "$build" -j "$(nproc)" vexel 2>&1 | tee "$build/build.log" |
  sed -un 's|^\[\([0-9]*/[0-9]*\)\] Linking CXX [a-z ]* \(.*\)$|    [\1] linked \2|p' || status=$?
if [ "$status" -ne 0 ]; then
  tail -n 40 "$build/build.log" >&2
  echo "run-example.sh: building failed" >&2
  exit 1
fi
echo "    build/release/vexel is ready"

# Vexel refuses to run without COMSPEC; on POSIX its value is not used.
export COMSPEC="${COMSPEC:-/bin/sh}"
cd "$root/examples/greet"
vexel=../../build/release/vexel

step "examples/greet: the first run makes what is missing, dependencies first"
show "$vexel"
show ./hello Vexel

step "The second run: nothing has changed, so nothing is made"
show "$vexel"

step "greet.c changes: its time is set later than that of every other file"
show touch -d '1 hour ago' MakeFile main.c greet.h
show touch -d '30 minutes ago' main.o greet.o libgreet.a hello
show touch -d '1 minute ago' greet.c

step "The third run: only what depends on greet.c is made anew"
printf '$ %s\n' "$vexel"
output=$("$vexel")
printf '%s\n' "$output"
show ./hello Vexel

# Say what happened only if it is what happened.
lines=$(tr -d '\r' <<<"$output")
if grep -q 'greet\.o greet\.c$' <<<"$lines" && grep -q 'ar rcs libgreet\.a' <<<"$lines" &&
  grep -q 'cc -o hello ' <<<"$lines" && ! grep -q 'main\.o main\.c$' <<<"$lines"; then
  step "Done. After greet.c changed, Vexel made anew greet.o, libgreet.a and hello,"
  echo "    which depend on it, and kept main.o, which does not."
  echo "    Next: a makefile of your own (README.md, \"A first makefile\")."
  echo "    The program is $build/vexel, not on PATH: type that path for vexel,"
  echo "    or install it under /usr/local (as root, in the top folder of the sources):"
  echo "      cmake --build ${build#"$root"/} && cmake --install ${build#"$root"/} --strip"
else
  echo "run-example.sh: the third run did not make exactly what depends on greet.c" >&2
  exit 1
fi
