#!/usr/bin/env bash
# The 32-bit run: Vexel built with -m32 (cmake/linux-m32.cmake, in build/m32),
# its unit tests and its end-to-end table run as 32-bit programs through
# qemu-i386, as a user of a 32-bit Linux meets the tool. qemu-i386 is
# registered for 32-bit programs only inside a private user and mount
# namespace, where this kernel keeps the registration: the rest of the machine
# never sees 32-bit programs start, so no other script takes the machine for
# one that runs them. Where that cannot be done (no unshare, no binfmt_misc),
# one line says SKIP and why, and the run ends with status 0 and no count.
# The last line on success: "32-bit test programs: N passed".
# Usage: scripts/test-m32.sh [BUILD_DIR]  (default build/m32)
set -euo pipefail
script=$(readlink -f "$0")
root=$(dirname "$(dirname "$script")")
qemu=/usr/bin/qemu-i386

if [ "${1:-}" = --inside ]; then
  # In the private namespace, as its root: register qemu-i386 for ELF files
  # for Intel 80386, executables and position-independent ones alike (F:
  # qemu is opened now, whatever the namespace sees later), then run the
  # tests.
  build=$2
  shift 2
  mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  printf '%s' ":vexel-i386:M::$magic:$mask:$qemu:F" >/proc/sys/fs/binfmt_misc/register
  grep -qx enabled /proc/sys/fs/binfmt_misc/vexel-i386
  cd "$build"
  [ $# -eq 0 ] && exec ctest --output-on-failure
  # Back to the caller's own user and group (a nested namespace keeps the
  # registration).
  exec unshare --user --map-user="$1" --map-group="$2" ctest --output-on-failure
fi

build=${1:-$root/build/m32}
skip() {
  echo "SKIP the 32-bit run: $*"
  exit 0
}
command -v unshare >/dev/null && command -v nsenter >/dev/null ||
  skip "no unshare and nsenter here (package util-linux)"
[ -x "$qemu" ] || skip "no $qemu here (package qemu-user)"
grep -qw binfmt_misc /proc/filesystems || skip "this kernel has no binfmt_misc"
said=$(unshare --user --map-root-user --mount \
  sh -c 'mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc' 2>&1) ||
  skip "no private user and mount namespace with a binfmt_misc of its own here ($(head -n 1 <<<"$said"))"

cmake -S "$root" -B "$build" -G Ninja -DVEXEL_WARNINGS_AS_ERRORS=ON \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/linux-m32.cmake" >/dev/null
ninja -C "$build" -j "${VEXEL_JOBS:-$(nproc)}" vexel_tests
file "$build/vexel"

# Runs the tests in the private namespace. Root keeps the users and groups
# below 65536 as they are, for the tests that look at files as another user
# does: a namespace holding its process, mapped from here, then entered.
# Anyone else is mapped as its root, to register, and is then itself again.
in_namespace() {
  if [ "$(id -u)" -ne 0 ]; then
    unshare --user --map-root-user --mount bash "$script" --inside "$build" "$(id -u)" "$(id -g)"
    return
  fi
  local told
  told=$(mktemp)
  unshare --user --mount sh -c 'echo $$ >"$1"; exec sleep 86400' holder "$told" \
    </dev/null >/dev/null 2>&1 &
  for _ in $(seq 100); do
    [ -s "$told" ] && break
    sleep 0.1
  done
  holder=$(cat "$told")
  rm -f "$told"
  [ -n "$holder" ] || { echo "test-m32.sh: the private namespace did not start" >&2; return 1; }
  # This runs in a subshell of its own (the pipe below): its end, however
  # reached, ends the namespace (holder is not local, for the trap).
  trap 'kill "$holder"; wait' EXIT
  echo '0 0 65536' >"/proc/$holder/uid_map"
  echo '0 0 65536' >"/proc/$holder/gid_map"
  nsenter -t "$holder" --user --mount bash "$script" --inside "$build"
}
in_namespace | tee "$build/ctest.out"
echo "32-bit test programs: $(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$build/ctest.out") passed"
