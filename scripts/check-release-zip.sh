# The checks of the Windows zip: its files and texts, vexel.exe itself, and
# the zip's example run under Wine as its README.txt says. Sourced by
# scripts/check-release.sh, whose variables and helpers (check, fail,
# same_lines, work, zip, version) they use.

# The zip for Windows ---------------------------------------------------------
top="vexel-$version-win32"
check_zip_list() {
  same_lines "$(printf '%s\n' "$top/CHANGELOG.txt" "$top/LICENSE.txt" "$top/README.txt" \
    "$top/examples/" "$top/examples/MakeFile" "$top/examples/message.txt" \
    "$top/examples/name.txt" "$top/vexel.exe")" \
    "$(unzip -Z1 "$zip" | sort)"
}
# crlf_only FILE: every line of FILE ends with CR LF.
crlf_only() {
  local lines crlf
  lines=$(wc -l <"$1") crlf=$(grep -c $'\r$' "$1" || true)
  [ "$lines" -gt 0 ] && [ "$lines" = "$crlf" ] || fail "$(basename "$1"): $crlf of $lines lines end with CR LF"
}
check_zip_texts() {
  unzip -q -o "$zip" -d "$work/zip" || fail "unzip failed"
  local text="$work/zip/$top" file heading
  for file in README.txt LICENSE.txt CHANGELOG.txt; do
    crlf_only "$text/$file"
  done
  tr -d '\r' <"$text/README.txt" | cmp -s - <(sed "s/@VERSION@/$version/g" "$root/packaging/windows/README.txt") ||
    fail "README.txt differs from packaging/windows/README.txt"
  head -n 1 "$text/README.txt" | grep -q "^Vexel $version for Windows" || fail "README.txt does not name version $version"
  tr -d '\r' <"$text/LICENSE.txt" | cmp -s - "$root/LICENSE" || fail "LICENSE.txt differs from LICENSE"
  # The changelog without its note to editors.
  ! grep -q '<!--' "$text/CHANGELOG.txt" || fail "CHANGELOG.txt holds the note to editors"
  while read -r heading; do
    grep -qxF "$heading"$'\r' "$text/CHANGELOG.txt" || fail "CHANGELOG.txt lacks '$heading'"
  done < <(grep '^## ' "$root/CHANGELOG.md")
  for file in MakeFile message.txt name.txt; do
    cmp -s "$text/examples/$file" "$root/examples/windows/$file" || fail "examples/$file differs from examples/windows"
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

# The zip's example under Wine ----------------------------------------------
export WINEPREFIX="${WINEPREFIX:-/tmp/vexel-wineprefix}" WINEDEBUG=-all
# No prompts for optional Wine components on a new prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Set below: the Wine loader, and the unpacked zip whose vexel.exe it runs.
wine_loader=wine
wine_folder="$work/zip/$top"
# README.txt says: "cd examples", then "..\vexel.exe", three times.
run_exe() {
  (cd "$wine_folder/examples" && "$wine_loader" '..\vexel.exe')
}
check_readme_commands() {
  local line
  for line in '  cd examples' '  ..\vexel.exe'; do
    grep -qxF "$line"$'\r' "$work/zip/$top/README.txt" || fail "README.txt no longer says '$line'"
  done
}
check_wine_first_run() {
  local output example="$wine_folder/examples"
  output=$(run_exe) || fail "vexel.exe failed:" "$output"
  grep -q $'^Vexel: \tcmd /c "echo To:> heading.txt"' <<<"$output" ||
    fail "no command line echoed:" "$output"
  { printf 'To:\r\n'; cat "$example/name.txt" "$example/message.txt"; } >"$work/card.expected"
  cmp -s "$work/card.expected" "$example/card.txt" || fail "card.txt is not as expected:" "$output"
  grep -qF 'Thank you for trying Vexel.' <<<"$output" || fail "the card was not shown:" "$output"
}
check_wine_second_run() {
  local output
  output=$(run_exe) || fail "vexel.exe failed:" "$output"
  same_lines "Vexel: Target is up to date." "$output"
}
# message.txt edited after the last run (its time set explicitly, an hour
# after everything else): only card.txt is made anew.
check_wine_changed_run() {
  local output example="$wine_folder/examples" then
  then=$(($(date +%s) - 7200))
  touch -d "@$then" "$example/MakeFile" "$example/name.txt" "$example/heading.txt" "$example/card.txt"
  printf 'Happy new year!\r\n' >"$example/message.txt"
  touch -d "@$((then + 3600))" "$example/message.txt"
  output=$(run_exe) || fail "vexel.exe failed:" "$output"
  same_lines "$(printf '%s\n' $'Vexel: \tcmd /c "copy /b heading.txt + message.txt card.txt >nul"' \
    $'Vexel: \tcmd /c type card.txt' 'To:' 'Ada' 'Happy new year!')" "$output"
}
# A machine that cannot run 32-bit programs still tries the zip's example:
# with the same sources built for 64-bit Windows, under 64-bit Wine, put in
# the place of the zip's vexel.exe.
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
  rm -rf "$work/zip64" && mkdir -p "$work/zip64" && cp -r "$work/zip/$top" "$work/zip64/" &&
    cp "$win64/vexel.exe" "$work/zip64/$top/vexel.exe" || fail "cannot put it into a copy of the zip's folder"
}

