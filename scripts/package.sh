#!/usr/bin/env bash
# Builds the three release packages into dist/:
#   vexel-VERSION-win32.zip          vexel.exe; README.txt written for Windows
#                                    users, LICENSE.txt, CHANGELOG.txt (CR LF);
#                                    the example in examples\
#   vexel-VERSION-linux-ARCH.tar.gz  bin/vexel, the manual page, README, licence,
#                                    copyright file, changelog and the manual
#                                    page's example
#   vexel_VERSION_ARCH.deb           the same under /usr, dependencies worked
#                                    out by dpkg-shlibdeps
# and dist/SHA256SUMS. Prints one line per step as it goes, and one every 20
# seconds while a step works quietly: from fresh build folders, about a
# minute on two quiet cores, up to 4 when they are busy, most of it building
# the two programs; longer when apt-get has to install the tools first. The
# packages name VEXEL_PACKAGE_CONTACT from the environment as their
# maintainer ("Name <address>"), or else a placeholder that reaches nobody;
# the first line and the last say which.
# Usage: [VEXEL_PACKAGE_CONTACT="Name <address>"] bash scripts/package.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist="$root/dist"
jobs=$(nproc)

steps=6 done_steps=0
# step TEXT: says what comes next, as step N of all.
step() {
  done_steps=$((done_steps + 1))
  echo "package.sh: [$done_steps/$steps] $*"
}

# The maintainer: the one named, or else the default, whatever an earlier
# build tree has in its cache.
if [ -n "${VEXEL_PACKAGE_CONTACT:-}" ]; then
  contact=("-DVEXEL_PACKAGE_CONTACT=$VEXEL_PACKAGE_CONTACT")
  echo "package.sh: the packages name as their maintainer $VEXEL_PACKAGE_CONTACT (VEXEL_PACKAGE_CONTACT)"
else
  contact=(-UVEXEL_PACKAGE_CONTACT)
  placeholder=$(sed -n 's/^set(VEXEL_PACKAGE_CONTACT "\([^"]*\)"$/\1/p' "$root/cmake/Packaging.cmake")
  echo "package.sh: the packages name as their maintainer the placeholder $placeholder," \
    "which reaches nobody; to name yourself: VEXEL_PACKAGE_CONTACT=\"NAME <ADDRESS>\" bash scripts/package.sh"
fi

step "installing what is missing, with apt-get"
bash "$root/scripts/install-packages.sh" build-essential cmake ninja-build \
  g++-mingw-w64-i686 dpkg-dev gzip

# The changelog entry of a version not released yet is dated when it is
# built: from a git checkout, the date of its last commit, so that the same
# commit gives the same changelog.
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && epoch=$(git -C "$root" log -1 --format=%ct 2>/dev/null); then
  export SOURCE_DATE_EPOCH="$epoch"
fi

# to_log LOG: copies its input to LOG and says on standard output, every 20
# seconds until the input ends, that the step is still at work.
to_log() {
  local log=$1 line started=$SECONDS next=$((SECONDS + 20)) status
  : >"$log"
  while :; do
    status=0
    IFS= read -r -t "$((next > SECONDS ? next - SECONDS : 1))" line || status=$?
    if [ "$status" -eq 0 ]; then
      printf '%s\n' "$line" >>"$log"
    elif [ "$status" -gt 128 ]; then
      # Timed out: what came of a line so far is kept, and the rest follows it.
      printf '%s' "$line" >>"$log"
    else
      printf '%s' "$line" >>"$log"
      return 0
    fi
    if [ "$SECONDS" -ge "$next" ]; then
      echo "package.sh:       still at work, $((SECONDS - started)) s so far"
      next=$((SECONDS + 20))
    fi
  done
}

# quietly LOG COMMAND...: runs the command with its output in LOG, shown only
# when the command fails.
quietly() {
  local log=$1
  shift
  if ! "$@" 2>&1 | to_log "$log"; then
    cat "$log" >&2
    echo "package.sh: failed: $*" >&2
    exit 1
  fi
}

# build_and_pack DIR GENERATORS WHAT [CMAKE ARGUMENTS...]: a Release build
# without the tests, then its packages, left in DIR/packages.
build_and_pack() {
  local build=$1 generators=$2 what=$3
  shift 3
  step "building $what in ${build#"$root"/}"
  mkdir -p "$build"
  quietly "$build/configure.log" cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DVEXEL_BUILD_TESTS=OFF -DVEXEL_WARNINGS_AS_ERRORS=ON \
    "${contact[@]}" "$@"
  quietly "$build/build.log" ninja -C "$build" -j "$jobs" vexel vexel_release_files
  step "packing it: ${generators//;/ and }"
  rm -rf "$build/packages"
  (cd "$build" && quietly "$build/cpack.log" cpack -G "$generators" -B "$build/packages")
}

build_and_pack "$root/build/package-windows" ZIP "vexel.exe for 32-bit Windows" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
build_and_pack "$root/build/package-native" "TGZ;DEB" "vexel for $(uname -m) Linux"

step "copying the packages to dist/, with SHA256SUMS"

mkdir -p "$dist"
# dist/ holds built files only: keep it out of git without touching .gitignore.
echo '*' >"$dist/.gitignore"
rm -f "$dist"/vexel-*.zip "$dist"/vexel-*.tar.gz "$dist"/vexel_*.deb "$dist/SHA256SUMS"
cp "$root"/build/package-windows/packages/*.zip \
  "$root"/build/package-native/packages/*.tar.gz \
  "$root"/build/package-native/packages/*.deb "$dist/"
(cd "$dist" && sha256sum vexel-*.zip vexel-*.tar.gz vexel_*.deb >SHA256SUMS)

cd "$dist"
echo "Packages in $dist:"
for file in vexel-*.zip vexel-*.tar.gz vexel_*.deb SHA256SUMS; do
  printf '  %-36s %8d bytes\n' "$file" "$(stat -c %s "$dist/$file")"
done
echo "The packages name as their maintainer: $(dpkg-deb -f vexel_*.deb Maintainer)"
