#!/usr/bin/env bash
# Checks the release: builds the three packages with scripts/package.sh, then
# looks into each one and runs what it holds: the .deb's vexel on the POSIX
# example, the zip's vexel.exe under Wine on the Windows example (on a machine
# that cannot run 32-bit programs, a 64-bit build of the same sources under
# 64-bit Wine takes its place). Also runs lintian on the .deb (no error or
# warning allowed) and lints the manual page. Prints one line per check;
# exits nonzero if any fails.
# Usage: bash scripts/check-release.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist="$root/dist"

bash "$root/scripts/install-packages.sh" build-essential file unzip groff-base man-db \
  binutils-mingw-w64-i686 mandoc lintian wine wine32:i386
bash "$root/scripts/package.sh"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build/package-native/CMakeCache.txt")
arch=$(dpkg --print-architecture)
zip="$dist/vexel-$version-win32.zip"
deb="$dist/vexel_${version}_$arch.deb"
tgz=$(ls "$dist"/vexel-"$version"-*.tar.gz 2>/dev/null | head -n 1 || true)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

passed=0 failed=0 skipped=0
# check NAME FUNCTION: runs the function; its output is shown only on failure.
check() {
  local name=$1 output
  shift
  if output=$("$@" 2>&1); then
    printf 'ok    %s\n' "$name"
    passed=$((passed + 1))
  else
    printf 'FAIL  %s\n' "$name"
    [ -n "$output" ] && printf '%s\n' "$output" | sed 's/^/        /'
    failed=$((failed + 1))
  fi
}
skip() {
  printf 'skip  %s: %s\n' "$1" "$2"
  skipped=$((skipped + 1))
}
# Each check runs in a subshell of its own (see check), where errexit does not
# hold: a step that can fail says so with "|| fail REASON...", which ends the
# check.
fail() {
  printf '%s\n' "$@"
  exit 1
}
# same_lines EXPECTED ACTUAL: the two texts, CR removed, are equal.
same_lines() {
  [ "$(printf '%s' "$1" | tr -d '\r')" = "$(printf '%s' "$2" | tr -d '\r')" ] ||
    fail "expected:" "$1" "got:" "$2"
}

# ---------------------------------------------------------------------------
check_version() {
  [[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "project version '$version' is not X.Y.Z"
}
check_files() {
  local file
  for file in "$zip" "$deb" "$tgz"; do
    [ -f "$file" ] || fail "missing: ${file:-the .tar.gz}"
  done
}

# The zip for Windows ---------------------------------------------------------
top="vexel-$version-win32"
check_zip_list() {
  same_lines "$(printf '%s\n' "$top/LICENSE.txt" "$top/README.txt" "$top/vexel.exe")" \
    "$(unzip -Z1 "$zip" | sort)"
}
check_zip_texts() {
  unzip -q -o "$zip" -d "$work/zip" || fail "unzip failed"
  local text source lines crlf
  for text in README.txt:README.md LICENSE.txt:LICENSE; do
    source=${text#*:} text="$work/zip/$top/${text%%:*}"
    lines=$(wc -l <"$text") crlf=$(grep -c $'\r$' "$text" || true)
    [ "$lines" -gt 0 ] && [ "$lines" = "$crlf" ] ||
      fail "$(basename "$text"): $crlf of $lines lines end with CR LF"
    tr -d '\r' <"$text" | cmp -s - "$root/$source" || fail "$(basename "$text") differs from $source"
  done
}
check_exe_type() {
  local type
  type=$(file -b "$work/zip/$top/vexel.exe")
  [[ "$type" == "PE32 executable (console) Intel 80386"* ]] || fail "file says: $type"
}
check_version_resource() {
  local rc major minor patch
  rc=$(i686-w64-mingw32-windres -i "$work/zip/$top/vexel.exe" -O rc) || fail "windres cannot read the resources"
  IFS=. read -r major minor patch <<<"$version"
  grep -q "FILEVERSION $major, $minor, $patch, 0" <<<"$rc" || fail "no FILEVERSION $version:" "$rc"
  grep -q "PRODUCTVERSION $major, $minor, $patch, 0" <<<"$rc" || fail "no PRODUCTVERSION $version:" "$rc"
  local value
  for value in "\"FileVersion\", \"$version\"" "\"ProductVersion\", \"$version\"" \
    '"ProductName", "Vexel"' '"FileDescription", "' '"LegalCopyright", "Copyright'; do
    grep -qF "VALUE $value" <<<"$rc" || fail "no VALUE $value in:" "$rc"
  done
}

# The .deb ------------------------------------------------------------------
check_deb_fields() {
  local field value
  for field in Package:vexel Version:"$version" Architecture:"$arch"; do
    value=$(dpkg-deb -f "$deb" "${field%%:*}")
    [ "$value" = "${field#*:}" ] || fail "${field%%:*} is '$value', not '${field#*:}'"
  done
  value=$(dpkg-deb -f "$deb" Maintainer)
  [[ "$value" =~ ^[^\<\>]+\ \<[^\<\>@\ ]+@[^\<\>\ ]+\>$ ]] || fail "Maintainer '$value' is not 'Name <address>'"
  # Not a placeholder: no domain reserved for examples, tests or nowhere.
  [[ "${value,,}" =~ @(.+\.)?(example\.(com|org|net)|example|invalid|test|localhost|localdomain)\>$ ]] &&
    fail "Maintainer '$value' is a placeholder address"
  # Worked out by dpkg-shlibdeps from the executable: versioned C library.
  value=$(dpkg-deb -f "$deb" Depends)
  [[ "$value" =~ (^|,\ )libc6\ \(\>=\ [0-9.]+\) ]] || fail "Depends '$value' lacks a versioned libc6"
  value=$(dpkg-deb -f "$deb" Description)
  [ "$(wc -l <<<"$value")" -ge 3 ] || fail "Description has no extended text: $value"
}
check_deb_list() {
  same_lines "$(printf '%s\n' ./usr/bin/vexel ./usr/share/doc/vexel/LICENSE \
    ./usr/share/doc/vexel/README.md ./usr/share/doc/vexel/changelog.gz \
    ./usr/share/doc/vexel/copyright ./usr/share/man/man1/vexel.1.gz)" \
    "$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)"
}
installed="$work/deb"
check_deb_runs() {
  dpkg -x "$deb" "$installed" || fail "dpkg -x failed"
  local example="$work/greet" output
  cp -r "$root/examples/greet" "$example" || fail "cannot copy examples/greet"
  rm -f "$example"/hello "$example"/*.o "$example"/*.a
  output=$(cd "$example" && COMSPEC=/bin/sh "$installed/usr/bin/vexel") || fail "first run failed:" "$output"
  grep -q 'cc -o hello main.o libgreet.a' <<<"$output" || fail "first run did not link hello:" "$output"
  output=$("$example/hello" Vexel) || fail "hello failed"
  same_lines "$(printf 'Hello, Vexel!\n1 greeting(s).')" "$output"
  output=$(cd "$example" && COMSPEC=/bin/sh "$installed/usr/bin/vexel") || fail "second run failed:" "$output"
  same_lines "Vexel: Target is up to date." "$output"
}
check_deb_docs() {
  local doc="$installed/usr/share/doc/vexel" header holder
  # Machine-readable, holding the copyright line and the terms of LICENSE.
  head -n 1 "$doc/copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "copyright: no Format line of the machine-readable format"
  holder=$(sed -n 's/^Copyright (c) /Copyright: /p' "$root/LICENSE")
  grep -qxF "$holder" "$doc/copyright" || fail "copyright: no field '$holder' as in LICENSE"
  # The terms: the lines after the last License field, one blank taken off.
  tac "$doc/copyright" | sed '/^License: /q' | tac | tail -n +2 | sed -e 's/^ \.$//' -e 's/^ //' |
    cmp -s - <(sed '1,/^Copyright /d' "$root/LICENSE" | sed '/./,$!d') ||
    fail "copyright: the licence text differs from LICENSE"
  # A Debian changelog whose newest entry is this version, compressed with
  # gzip -9n: no file name or time inside, so the bytes depend on the text alone.
  zcat "$doc/changelog.gz" | head -n 1 | grep -q "^vexel ($version) " ||
    fail "changelog.gz: the newest entry is not $version:" "$(zcat "$doc/changelog.gz" | head -n 1)"
  header=$(od -An -tx1 -N10 "$doc/changelog.gz" | tr -d ' \n')
  [[ "$header" == 1f8b08000000000002* ]] || fail "changelog.gz: not made by gzip -9n (header $header)"
}
check_lintian() {
  local output status=0
  output=$(lintian --fail-on error,warning "$deb" 2>&1) || status=$?
  # lintian warns on standard error when run as root; that is no finding.
  output=$(grep -v '^running with root privileges' <<<"$output" || true)
  [ "$status" -eq 0 ] && ! grep -q '^[EW]: ' <<<"$output" || fail "lintian (exit status $status):" "$output"
}
check_deb_manual() {
  local page
  page=$(MANWIDTH=80 man -l "$installed/usr/share/man/man1/vexel.1.gz" 2>&1) || fail "man -l failed:" "$page"
  grep -q "^Vexel $version " <<<"$page" || fail "the footer does not name Vexel $version"
  grep -q "^SYNOPSIS" <<<"$page" || fail "no SYNOPSIS"
}

# The .tar.gz ---------------------------------------------------------------
check_tgz() {
  local prefix
  prefix=$(basename "$tgz" .tar.gz)
  same_lines "$(printf '%s\n' "$prefix/bin/vexel" "$prefix/share/doc/vexel/LICENSE" \
    "$prefix/share/doc/vexel/README.md" "$prefix/share/doc/vexel/changelog.gz" \
    "$prefix/share/doc/vexel/copyright" "$prefix/share/man/man1/vexel.1.gz")" \
    "$(tar -tzf "$tgz" | grep -v '/$' | sort)"
  mkdir -p "$work/tgz" || fail "cannot make $work/tgz"
  tar -xzf "$tgz" -C "$work/tgz" || fail "tar failed"
  [ -x "$work/tgz/$prefix/bin/vexel" ] || fail "bin/vexel is not executable"
  cmp -s "$work/tgz/$prefix/bin/vexel" "$installed/usr/bin/vexel" || fail "bin/vexel differs from the .deb's"
}

# The zip's vexel.exe under Wine --------------------------------------------
export WINEPREFIX="${WINEPREFIX:-/tmp/vexel-wineprefix}" WINEDEBUG=-all
# No prompts for optional Wine components on a new prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
wine_example="$work/windows"
# Set below: the Wine loader and the vexel.exe it runs.
wine_loader=wine
wine_exe="$work/zip/$top/vexel.exe"
run_exe() {
  (cd "$wine_example" && "$wine_loader" "$wine_exe")
}
check_wine_first_run() {
  rm -rf "$wine_example"
  cp -r "$root/examples/windows" "$wine_example" || fail "cannot copy examples/windows"
  local output
  output=$(run_exe) || fail "vexel.exe failed:" "$output"
  grep -q $'^Vexel: \tcmd /c "echo To:> heading.txt"' <<<"$output" ||
    fail "no command line echoed:" "$output"
  { printf 'To:\r\n'; cat "$wine_example/name.txt" "$wine_example/message.txt"; } >"$work/card.expected"
  cmp -s "$work/card.expected" "$wine_example/card.txt" || fail "card.txt is not as expected:" "$output"
}
# A machine that cannot run 32-bit programs still tries the Windows example:
# with the same sources built for 64-bit Windows, under 64-bit Wine.
win64="$root/build/check-win64"
check_win64_build() {
  mkdir -p "$win64" || fail "cannot make $win64"
  cmake -S "$root" -B "$win64" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXEL_BUILD_TESTS=OFF \
    -DVEXEL_WARNINGS_AS_ERRORS=ON -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
    >"$win64/configure.log" 2>&1 || fail "configure failed:" "$(cat "$win64/configure.log")"
  ninja -C "$win64" -j "$(nproc)" vexel >"$win64/build.log" 2>&1 || fail "build failed:" "$(cat "$win64/build.log")"
  local type
  type=$(file -b "$win64/vexel.exe")
  [[ "$type" == "PE32+ executable (console) x86-64"* ]] || fail "file says: $type"
}
check_wine_second_run() {
  local output
  output=$(run_exe) || fail "vexel.exe failed:" "$output"
  same_lines "Vexel: Target is up to date." "$output"
}

# The manual page -----------------------------------------------------------
check_groff() {
  local output
  output=$(groff -ww -z -man "$root/doc/vexel.1" 2>&1) && [ -z "$output" ] || fail "$output"
}
check_mandoc() {
  local output
  output=$(mandoc -T lint "$root/doc/vexel.1" 2>&1) && [ -z "$output" ] || fail "$output"
}

# ---------------------------------------------------------------------------
echo "Checking the release of Vexel $version:"
check "project version is X.Y.Z ($version)" check_version
check "dist/ holds the zip, the .tar.gz and the .deb" check_files
check "zip holds vexel.exe, README.txt, LICENSE.txt" check_zip_list
check "zip's README.txt and LICENSE.txt are the sources with CR LF" check_zip_texts
check "vexel.exe is a PE32 console program for Intel 80386" check_exe_type
check "vexel.exe's version resource says $version" check_version_resource
check ".deb fields: name, version, maintainer, computed Depends, description" check_deb_fields
check ".deb holds the program, manual page, README and licence" check_deb_list
check ".deb's vexel builds examples/greet, then finds it up to date" check_deb_runs
check ".deb's manual page renders and names version $version" check_deb_manual
check ".deb's copyright file and changelog.gz are as Debian wants them" check_deb_docs
check "lintian finds no error and no warning in the .deb" check_lintian
check ".tar.gz holds the same files and program" check_tgz
# Wine runs vexel.exe with the machine's 32-bit x86 support, which some
# machines (some virtual ones) lack: then no 32-bit program starts at all.
if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  [ -d "$WINEPREFIX" ] || wineboot --init >/dev/null 2>&1 || true
  check "zip's vexel.exe under Wine builds examples/windows" check_wine_first_run
  check "zip's vexel.exe under Wine then finds it up to date" check_wine_second_run
else
  reason="this machine cannot run 32-bit x86 programs, so Wine cannot start vexel.exe"
  skip "zip's vexel.exe under Wine builds examples/windows" "$reason"
  skip "zip's vexel.exe under Wine then finds it up to date" "$reason"
  bash "$root/scripts/install-packages.sh" g++-mingw-w64-x86-64-posix wine64
  wine_loader=/usr/lib/wine/wine64 wine_exe="$win64/vexel.exe"
  export WINELOADER="$wine_loader"
  failed_before=$failed
  check "in its place: a 64-bit Windows build of the same sources" check_win64_build
  if [ "$failed" -eq "$failed_before" ]; then
    [ -d "$WINEPREFIX" ] || "$wine_loader" wineboot.exe --init >/dev/null 2>&1 || true
    check "that build under 64-bit Wine builds examples/windows" check_wine_first_run
    check "that build under 64-bit Wine then finds it up to date" check_wine_second_run
  fi
fi
check "manual page: groff -ww -z -man is silent" check_groff
if command -v mandoc >/dev/null; then
  check "manual page: mandoc -T lint is silent" check_mandoc
else
  skip "manual page: mandoc -T lint" "mandoc is not installed"
fi
echo "Release checks: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
