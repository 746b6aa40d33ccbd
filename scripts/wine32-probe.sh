#!/usr/bin/env bash
# Whether this machine runs the 32-bit Windows product under 32-bit Wine:
# builds a tiny 32-bit Windows program (i686-w64-mingw32) and runs it with
# the loader in $1 (default /usr/lib/wine/wine), in the caller's WINEPREFIX.
# Exit status 0 when it printed what it should; otherwise 1, with the reason
# on one line of standard output. Trying is the only sure test: a 32-bit
# Linux loader that starts (under an emulator, say) proves nothing of Wine.
set -uo pipefail
loader=${1:-/usr/lib/wine/wine}
compiler=i686-w64-mingw32-gcc

[ -x "$loader" ] || { echo "no 32-bit Wine loader at $loader"; exit 1; }
command -v "$compiler" >/dev/null || { echo "no $compiler to build the probe"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/probe.c" <<'PROBE'
#include <stdio.h>
int main(void) {
    printf("probe: %u-bit\n", (unsigned)(8 * sizeof(void*)));
    return 0;
}
PROBE
"$compiler" -static -o "$work/probe.exe" "$work/probe.c" 2>"$work/build.log" ||
  { echo "the probe did not build: $(head -n 1 "$work/build.log")"; exit 1; }
# A new prefix takes Wine about 15 s to set up; two minutes is plenty.
output=$(WINEDEBUG=-all timeout 120 "$loader" "$work/probe.exe" 2>"$work/run.log" | tr -d '\r')
[ "$output" = "probe: 32-bit" ] && exit 0
said=$(head -n 1 "$work/run.log")
echo "32-bit Wine ($loader) does not run a 32-bit Windows program here (${said:-it printed \"$output\"})"
exit 1
