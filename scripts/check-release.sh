#!/usr/bin/env bash
# Checks the release: builds the three packages with scripts/package.sh, then
# looks into each one and runs what it holds: the zip's vexel.exe under Wine
# on the zip's own example, as its README.txt tells a Windows user to (on a
# machine that cannot run 32-bit Windows programs under Wine, as
# scripts/wine32-probe.sh finds by trying, a 64-bit build of the same
# sources under 64-bit Wine takes its place); the README, the manual page
# and README.txt followed as written with what the packages hold, the .deb's
# vexel on the manual page's example among them (scripts/check-docs.sh).
# Also runs lintian on the .deb (no error or warning allowed) and lints the
# manual page. Prints one line per check; exits nonzero if any fails.
# With VEXEL_PACKAGE_CONTACT ("Name <address>") the packages name that
# maintainer, and a placeholder address is refused; without it they carry
# the placeholder that reaches nobody, and the check says so.
# Usage: [VEXEL_PACKAGE_CONTACT="Name <address>"] bash scripts/check-release.sh
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

passed=0 failed=0 skipped=0 docs_exe=""
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

# The zip for Windows, and its example under Wine: in a file of their own.
source "$root/scripts/check-release-zip.sh"

# The .deb ------------------------------------------------------------------
check_deb_fields() {
  local field value
  for field in Package:vexel Version:"$version" Architecture:"$arch"; do
    value=$(dpkg-deb -f "$deb" "${field%%:*}")
    [ "$value" = "${field#*:}" ] || fail "${field%%:*} is '$value', not '${field#*:}'"
  done
  value=$(dpkg-deb -f "$deb" Maintainer)
  [[ "$value" =~ ^[^\<\>]+\ \<[^\<\>@\ ]+@[^\<\>\ ]+\>$ ]] || fail "Maintainer '$value' is not 'Name <address>'"
  # Packages to ship name their maintainer (VEXEL_PACKAGE_CONTACT, passed on
  # by package.sh): that one, and no domain reserved for examples, tests or
  # nowhere. Without one they carry the placeholder at .invalid, which
  # reaches nobody, and nothing else.
  if [ -n "${VEXEL_PACKAGE_CONTACT:-}" ]; then
    [ "$value" = "$VEXEL_PACKAGE_CONTACT" ] || fail "Maintainer '$value' is not '$VEXEL_PACKAGE_CONTACT'"
    [[ "${value,,}" =~ @(.+\.)?(example\.(com|org|net)|example|invalid|test|localhost|localdomain)\>$ ]] &&
      fail "Maintainer '$value' is a placeholder address"
  else
    [[ "${value,,}" =~ @([^@]+\.)?invalid\>$ ]] ||
      fail "Maintainer '$value': with no VEXEL_PACKAGE_CONTACT, the placeholder at .invalid"
  fi
  # Worked out by dpkg-shlibdeps from the executable: versioned C library.
  value=$(dpkg-deb -f "$deb" Depends)
  [[ "$value" =~ (^|,\ )libc6\ \(\>=\ [0-9.]+\) ]] || fail "Depends '$value' lacks a versioned libc6"
  value=$(dpkg-deb -f "$deb" Description)
  [ "$(wc -l <<<"$value")" -ge 3 ] || fail "Description has no extended text: $value"
}
# The files of the .deb, below /usr, and of the .tar.gz, below its top folder.
shipped_files() {
  printf '%s\n' bin/vexel share/doc/vexel/LICENSE share/doc/vexel/README.md \
    share/doc/vexel/changelog.gz share/doc/vexel/copyright \
    share/doc/vexel/examples/greet/{MakeFile,greet.c,greet.h,main.c} share/man/man1/vexel.1.gz
}
check_deb_list() {
  same_lines "$(shipped_files | sed 's|^|./usr/|' | sort)" \
    "$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)"
}
installed="$work/deb"
# Unpacked for the checks below, which run and read what it holds.
check_deb_unpacks() {
  dpkg -x "$deb" "$installed" || fail "dpkg -x failed"
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
  # A period that the formatter took for a sentence's end in mid-sentence
  # shows as a wide gap before a small letter (\& after the period mends it).
  page=$(MANWIDTH=80 man --nj -l "$installed/usr/share/man/man1/vexel.1.gz" 2>&1)
  ! grep -E '[.!?] {2,}[a-z]' <<<"$page" || fail "a sentence space in mid-sentence (above)"
}

# The .tar.gz ---------------------------------------------------------------
check_tgz() {
  local prefix
  prefix=$(basename "$tgz" .tar.gz)
  same_lines "$(shipped_files | sed "s|^|$prefix/|" | sort)" "$(tar -tzf "$tgz" | grep -v '/$' | sort)"
  mkdir -p "$work/tgz" || fail "cannot make $work/tgz"
  tar -xzf "$tgz" -C "$work/tgz" || fail "tar failed"
  [ -x "$work/tgz/$prefix/bin/vexel" ] || fail "bin/vexel is not executable"
  cmp -s "$work/tgz/$prefix/bin/vexel" "$installed/usr/bin/vexel" || fail "bin/vexel differs from the .deb's"
}

# The README's two commands: the .tar.gz's files put under /usr/local, and
# removed again, here with a folder of the check in the place of /usr/local.
check_tgz_install_remove() {
  local readme="$installed/usr/share/doc/vexel/README.md" put remove prefix="$work/usr-local" left
  put=$(sed -n 's|^ *\(tar -xzf vexel-.* -C /usr/local\)$|\1|p' "$readme")
  remove=$(sed -n 's|^ *\(rm -r /usr/local/.*\)$|\1|p' "$readme")
  [ -n "$put" ] && [ -n "$remove" ] || fail "the README no longer says how to put the .tar.gz under /usr/local and remove it"
  mkdir -p "$prefix" || fail "cannot make $prefix"
  (cd "$dist" && eval "${put//\/usr\/local/$prefix}") || fail "failed: $put"
  [ -x "$prefix/bin/vexel" ] && [ -f "$prefix/share/man/man1/vexel.1.gz" ] || fail "not in place after: $put"
  eval "${remove//\/usr\/local/$prefix}" || fail "failed: $remove"
  left=$(find "$prefix" -type f)
  [ -z "$left" ] || fail "left after: $remove" "$left"
}

# cmake --install ------------------------------------------------------------
# A build tree configured where GoogleTest cannot be found: the tests are off,
# and installing before a build says what to build, and installs nothing.
check_install_early() {
  local tree="$work/no-gtest" output
  output=$(cmake -S "$root" -B "$tree" -G Ninja -DVEXEL_GTEST_SOURCE=/nonexistent \
    -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON 2>&1) || fail "configure failed:" "$output"
  [ "$(grep -c '^-- Tests are off' <<<"$output")" = 1 ] || fail "no one line saying the tests are off:" "$output"
  output=$(cmake --install "$tree" --prefix "$work/early" 2>&1) && fail "installed before a build:" "$output"
  grep -q "Vexel is not built yet in $tree" <<<"$output" && grep -q "cmake --build $tree" <<<"$output" ||
    fail "no word of what to build first:" "$output"
  [ -z "$(find "$work/early" -type f 2>/dev/null)" ] || fail "files installed: $(find "$work/early" -type f)"
}
# From the packages' build tree: the files of the .tar.gz, and with --strip
# the very program of the .deb.
check_install_strip() {
  local output prefix
  prefix=$(basename "$tgz" .tar.gz)
  output=$(cmake --install "$root/build/package-native" --prefix "$work/installed" --strip 2>&1) ||
    fail "cmake --install failed:" "$output"
  same_lines "$(tar -tzf "$tgz" | grep -v '/$' | sed "s|^$prefix/||" | sort)" \
    "$(cd "$work/installed" && find . -type f | sed 's|^\./||' | sort)"
  cmp -s "$work/installed/bin/vexel" "$installed/usr/bin/vexel" || fail "bin/vexel differs from the .deb's"
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
check "zip holds vexel.exe, README.txt, LICENSE.txt, CHANGELOG.txt, examples" check_zip_list
check "zip's texts are CR LF: README.txt for Windows, LICENSE.txt, CHANGELOG.txt" check_zip_texts
check "zip's README.txt says: cd examples, then ..\\vexel.exe" check_readme_commands
check "vexel.exe is a PE32 console program for Intel 80386" check_exe_type
check "vexel.exe's version resource says $version" check_version_resource
check ".deb fields: name, version, maintainer (${VEXEL_PACKAGE_CONTACT:-the placeholder: set VEXEL_PACKAGE_CONTACT to ship}), computed Depends, description" check_deb_fields
check ".deb holds the program, manual page, README, licence, copyright, changelog, example" check_deb_list
check ".deb unpacks" check_deb_unpacks
check ".deb's manual page renders, without a sentence space in mid-sentence, and names version $version" check_deb_manual
check ".deb's copyright file and changelog.gz are as Debian wants them" check_deb_docs
check "lintian finds no error and no warning in the .deb" check_lintian
check ".tar.gz holds the same files and program" check_tgz
check ".tar.gz: the README's commands put it under /usr/local and remove it all" check_tgz_install_remove
check "without GoogleTest: tests off, in one line; cmake --install first says to build" check_install_early
check "cmake --install --strip puts the .tar.gz's files and the .deb's program in place" check_install_strip
# Wine runs vexel.exe with the machine's 32-bit x86 support, which some
# machines (some virtual ones) lack: then no 32-bit Windows program starts at
# all. A small one, tried under 32-bit Wine, tells.
if reason=$(bash "$root/scripts/wine32-probe.sh" /usr/lib/wine/wine); then
  [ -d "$WINEPREFIX" ] || wineboot --init >/dev/null 2>&1 || true
  check "zip's example under Wine, as README.txt says: card.txt made" check_wine_first_run
  check "run again: up to date" check_wine_second_run
  check "message.txt changed: only card.txt made anew" check_wine_changed_run
  docs_exe="$wine_folder/vexel.exe"
else
  skip "zip's example under Wine, as README.txt says" "$reason"
  bash "$root/scripts/install-packages.sh" g++-mingw-w64-x86-64-posix wine64
  wine_loader=/usr/lib/wine/wine64 wine_folder="$work/zip64/$top"
  export WINELOADER="$wine_loader"
  failed_before=$failed
  check "in its place: a 64-bit Windows build of the same sources, in the zip's folder" check_win64_build
  if [ "$failed" -eq "$failed_before" ]; then
    [ -d "$WINEPREFIX" ] || "$wine_loader" wineboot.exe --init >/dev/null 2>&1 || true
    check "zip's example under 64-bit Wine, as README.txt says: card.txt made" check_wine_first_run
    check "run again: up to date" check_wine_second_run
    check "message.txt changed: only card.txt made anew" check_wine_changed_run
    docs_exe="$wine_folder/vexel.exe"
  fi
fi
# The README, the manual page and README.txt as their readers follow them:
# the .deb's program and texts, the zip's README.txt and its program under
# Wine. Its own lines say which steps Wine cannot run, and why.
echo "The documents as their readers follow them (scripts/check-docs.sh):"
if bash "$root/scripts/check-docs.sh" --vexel "$installed/usr/bin/vexel" \
  --readme "$installed/usr/share/doc/vexel/README.md" \
  --manual "$installed/usr/share/man/man1/vexel.1.gz" --doc "$installed/usr/share/doc/vexel" \
  --readme-txt "$work/zip/$top/README.txt" ${docs_exe:+--exe "$docs_exe" --wine "$wine_loader"} |
  sed 's/^/    /'; then
  printf 'ok    %s\n' "the documents, followed as written"
  passed=$((passed + 1))
else
  printf 'FAIL  %s\n' "the documents, followed as written (the lines above)"
  failed=$((failed + 1))
fi
check "manual page: groff -ww -z -man is silent" check_groff
if command -v mandoc >/dev/null; then
  check "manual page: mandoc -T lint is silent" check_mandoc
else
  skip "manual page: mandoc -T lint" "mandoc is not installed"
fi
echo "Release checks: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
