#!/usr/bin/env bash
# Follows the documents as a reader would, and compares what each command
# prints with what the document says:
#   - the README's "A first makefile": its POSIX steps natively, its Windows
#     steps with vexel.exe under Wine;
#   - the README's table "There is no shell": what each line does without a
#     shell, and each way to write it, POSIX natively and Windows under Wine
#     where Wine has the programs it names;
#   - the lines that list a makefile's lines beginning with a blank (README,
#     manual page, README.txt);
#   - the manual page's example, on the files shipped with it;
#   - README.txt's own makefile, under Wine.
# The commands and the expected lines come from the documents themselves, so
# a change that makes a document wrong fails here. File times are set
# explicitly: after each command, the files it wrote get a time a minute
# later than the last, so that the order of the steps is the order of the
# times whatever the clock's resolution.
# Usage: bash scripts/check-docs.sh [--vexel PROGRAM] [--readme README.md]
#          [--manual vexel.1[.gz]] [--doc DIR] [--readme-txt README.txt]
#          [--exe vexel.exe --wine LOADER]
#   --vexel       the POSIX program, found as "vexel" (default build/release/vexel)
#   --doc         what the manual page calls /usr/share/doc/vexel: a folder
#                 holding examples/greet (default: the sources' example)
#   --exe, --wine the Windows program and the Wine loader that runs it;
#                 without them, the Windows steps are skipped
# Prints one line per check; exits nonzero if any fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
vexel="$root/build/release/vexel" readme="$root/README.md" manual="$root/doc/vexel.1"
readme_txt="$root/packaging/windows/README.txt" doc="" exe="" wine=""
while [ $# -gt 0 ]; do
  case "$1" in
    --vexel) vexel=$2 ;;
    --readme) readme=$2 ;;
    --manual) manual=$2 ;;
    --doc) doc=$2 ;;
    --readme-txt) readme_txt=$2 ;;
    --exe) exe=$2 ;;
    --wine) wine=$2 ;;
    *)
      echo "check-docs.sh: unknown argument '$1'" >&2
      exit 2
      ;;
  esac
  shift 2
done
[ -x "$vexel" ] || {
  echo "check-docs.sh: no program $vexel: build it, or name one with --vexel" >&2
  exit 2
}
# The commands run in folders of their own.
vexel=$(realpath "$vexel") readme=$(realpath -m "$readme") manual=$(realpath -m "$manual")
readme_txt=$(realpath -m "$readme_txt")
[ -z "$doc" ] || doc=$(realpath "$doc")
[ -z "$exe" ] || exe=$(realpath "$exe")
export WINEPREFIX="${WINEPREFIX:-/tmp/vexel-wineprefix}" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# "vexel" on PATH is the program under test, as for a reader who installed it.
mkdir -p "$work/bin"
ln -s "$vexel" "$work/bin/vexel"
if [ -z "$doc" ]; then
  doc="$work/doc"
  mkdir -p "$doc/examples/greet"
  cp "$root"/examples/greet/{MakeFile,main.c,greet.c,greet.h} "$doc/examples/greet/"
fi
: >"$work/tally"

# result ok|FAIL|skip NAME [DETAIL...]
result() {
  local status=$1 name=$2
  shift 2
  case "$status" in
    ok) printf 'ok    %s\n' "$name" ;;
    skip) printf 'skip  %s: %s\n' "$name" "$*" ;;
    *)
      printf 'FAIL  %s\n' "$name"
      [ $# -eq 0 ] || printf '%s\n' "$@" | sed 's/^/        /'
      ;;
  esac
  echo "$status" >>"$work/tally"
}

# Times: the files that a step wrote (dated now) get the step's own time, in
# 2020, a minute after the last step's, so that their order is the steps'.
base=1577836800 clock=$((1577836800 + 60))
stamp() {
  find "$1" -type f -newermt "@$((base + 86400))" -exec touch -h -d "@$clock" {} +
  clock=$((clock + 60))
}

# same NAME EXPECTED_FILE ACTUAL_FILE: the actual lines, CR removed, are the
# expected ones.
same() {
  if tr -d '\r' <"$3" | cmp -s "$2" -; then
    result ok "$1"
  else
    result FAIL "$1" "expected:" "$(cat "$2")" "got:" "$(tr -d '\r' <"$3")"
  fi
}

# ---------------------------------------------------------------------------
# A walkthrough as a plan, one step a line: KIND TAB TEXT, where KIND is
# posix- or windows- (the part that follows a paragraph "On Windows ...")
# and then "cmd" (a line of a block of commands), "run" (a command after a
# prompt, "$ " or "C:\folder> "), "out" (a line it prints), "makefile" (a
# line of a makefile shown with <TAB>), or "other" (a block of neither kind).
# FORMAT says how a code block's lines are found: "md" (indented by 4
# blanks; a block of neither kind holds commands), "roff" (between .EX and
# .EE, with the escapes undone) or "txt" (README.txt: indented by 5 blanks,
# all of it for Windows); SECTION is the heading of the part to follow.
plan() {
  local format=$1 section=$2 file=$3
  case "$file" in
    *.gz) zcat "$file" ;;
    *) cat "$file" ;;
  esac | awk -v format="$format" -v section="$section" '
    function flush(   i, k, line) {
      if (!n) return
      k = (format == "md") ? "cmd" : "other"
      for (i = 1; i <= n; i++) if (index(b[i], "<TAB>")) k = "makefile"
      if (b[1] ~ /^\$ / || b[1] ~ /^[A-Za-z]:\\[^>]*> /) k = "session"
      for (i = 1; i <= n; i++) {
        line = b[i]
        if (k != "session") print mode k "\t" line
        else if (line ~ /^\$ /) print mode "run\t" substr(line, 3)
        else if (line ~ /^[A-Za-z]:\\[^>]*> /) { sub(/^[^>]*> /, "", line); print mode "run\t" line }
        else print mode "out\t" line
      }
      n = 0
    }
    { sub(/\r$/, ""); above = previous; previous = $0 }
    function heading(line) { return format == "md" ? line ~ /^## / : line ~ /^\.SH / }
    format != "txt" && heading($0) { flush(); inside = ($0 == section); mode = "posix-"; next }
    format == "txt" && /^--+$/ { flush(); inside = (above == section); mode = "windows-"; next }
    !inside { next }
    format == "md" && /^    / { b[++n] = substr($0, 5); next }
    format == "txt" && /^     / { b[++n] = substr($0, 6); next }
    format == "roff" && /^\.EX$/ { ex = 1; next }
    format == "roff" && /^\.EE$/ { ex = 0; flush(); next }
    ex {
      line = $0
      gsub(/\\\(aq/, "\047", line); gsub(/\\\(dq/, "\"", line); gsub(/\\-/, "-", line)
      gsub(/\\&/, "", line); gsub(/\\e/, "\\", line)
      b[++n] = line
      next
    }
    { flush() }
    /^On Windows/ { mode = "windows-" }
    END { flush() }
  '
}

# follow NAME PLAN_FILE [SUBSTITUTE WITH]: follows the POSIX steps of the plan
# in a fresh folder as one shell session that starts without COMSPEC, with
# SUBSTITUTE in each command replaced by WITH; then its Windows steps.
follow() {
  local name=$1 plan=$2 from=${3:-} to=${4:-} kind text n=0 last="" script
  local top="$work/$name" && mkdir -p "$top/out" "$top/expect" "$top/home"
  script="$top/script.sh"
  : >"$script"
  while IFS=$'\t' read -r kind text; do
    [ -z "$from" ] || text=${text//"$from"/"$to"}
    case "$kind" in
      posix-cmd | posix-run)
        n=$((n + 1))
        printf '%s\n' "$text" >"$top/expect/$n.command"
        : >"$top/expect/$n"
        if [ "$kind" = posix-cmd ]; then
          printf '{ %s\n} >"$top/out/%d" 2>&1 && ran %d || failed %d; stamp "$top/home"\n' \
            "$text" "$n" "$n" "$n"
        else
          printf '{ %s\n} >"$top/out/%d" 2>&1; s=$?; stamp "$top/home"; compare %d; (exit $s)\n' \
            "$text" "$n" "$n"
        fi >>"$script"
        ;;
      posix-out)
        printf '%s\n' "$text" >>"$top/expect/$n"
        ;;
      posix-makefile)
        if [ "$last" != posix-makefile ]; then
          n=$((n + 1))
          : >"$top/expect/$n"
          printf 'shown_makefile %d\n' "$n" >>"$script"
        fi
        printf '%s\n' "${text//<TAB>/$'\t'}" >>"$top/expect/$n"
        ;;
    esac
    last=$kind
  done <"$plan"
  if [ ! -s "$plan" ]; then
    result FAIL "$name" "no command found in the document: has the section moved?"
  elif [ "$n" -gt 0 ]; then
    (
      # A reader's session: COMSPEC unset until the document sets it, the
      # program on PATH.
      unset COMSPEC
      export PATH="$work/bin:$PATH"
      ran() {
        result ok "$name, step $1: $(cat "$top/expect/$1.command")"
      }
      failed() {
        result FAIL "$name, step $1: $(cat "$top/expect/$1.command")" "$(cat "$top/out/$1")"
        exit 0
      }
      compare() {
        same "$name, step $1: \$ $(cat "$top/expect/$1.command")" "$top/expect/$1" "$top/out/$1"
      }
      shown_makefile() {
        same "$name, step $1: the makefile shown is MakeFile" "$top/expect/$1" MakeFile
      }
      cd "$top/home"
      # The reader's commands fail on purpose at times: each is checked.
      set +euo pipefail
      # shellcheck disable=SC1090
      source "$script" </dev/null
    ) || result FAIL "$name: the session ended early"
  fi
  follow_windows "$name" "$plan"
}

# follow_windows NAME PLAN_FILE: the Windows steps, if any. The makefile
# shown is saved as MakeFile with CR LF line ends, as Notepad saves it, with
# each file it is made from beside it, holding its name; each run of
# vexel.exe runs the Windows program under Wine.
follow_windows() {
  local name=$1 plan=$2 kind text n=0 folder="$work/$1-windows" runs=() dependency
  grep -q '^windows-run' "$plan" || return 0
  if [ -z "$exe" ]; then
    result skip "$name: the Windows steps" "no Windows program (--exe, --wine)"
    return 0
  fi
  mkdir -p "$folder/expect"
  while IFS=$'\t' read -r kind text; do
    case "$kind" in
      windows-run)
        runs+=("$text")
        : >"$folder/expect/${#runs[@]}"
        ;;
      windows-out) printf '%s\n' "${text//<TAB>/$'\t'}" >>"$folder/expect/${#runs[@]}" ;;
      windows-makefile) printf '%s\r\n' "${text//<TAB>/$'\t'}" >>"$folder/MakeFile" ;;
    esac
  done <"$plan"
  while read -r _ dependency; do
    for dependency in $dependency; do
      grep -q "^$dependency: " "$folder/MakeFile" || [ -e "$folder/$dependency" ] ||
        printf '%s\r\n' "$dependency" >"$folder/$dependency"
    done
  done < <(grep -v $'^\t' "$folder/MakeFile" | tr -d '\r' | grep ': ')
  stamp "$folder"
  for text in "${runs[@]}"; do
    n=$((n + 1))
    if [[ "${text,,}" != *vexel.exe ]]; then
      result skip "$name, Windows step $n: $text" "only vexel.exe is run"
      continue
    fi
    (cd "$folder" && "$wine" "$exe" >"$folder/out" 2>/dev/null </dev/null) || true
    stamp "$folder"
    same "$name, Windows step $n: $text (under Wine)" "$folder/expect/$n" "$folder/out"
  done
}

# ---------------------------------------------------------------------------
# The table "There is no shell". Each row: what is on the line; what happens
# (clauses split at "; ", each naming a command and then what it prints, a
# "Vexel: " line being a whole line and the last, anything else a part of the
# output; or a "Vexel: " line first, then the row's first cell names the
# commands); how to write it on POSIX; on Windows. Each command is the one
# command line of a target never made, in a folder holding a.c, b.c, a.txt
# and sub/a.c.

# spans TEXT: the code spans of TEXT, one a line.
spans() {
  local rest=$1
  while [[ "$rest" =~ \`([^\`]*)\` ]]; do
    printf '%s\n' "${BASH_REMATCH[1]}"
    rest=${rest#*"${BASH_REMATCH[0]}"}
  done
}
# clauses TEXT: TEXT split at "; " outside code spans, one a line.
clauses() {
  local text=$1 clause="" code=0 i c
  for ((i = 0; i < ${#text}; i++)); do
    c=${text:i:1}
    [ "$c" != '`' ] || code=$((1 - code))
    if [ "$code" -eq 0 ] && [ "$c" = ";" ] && [ "${text:i+1:1}" = " " ]; then
      printf '%s\n' "$clause"
      clause="" i=$((i + 1))
    else
      clause+=$c
    fi
  done
  printf '%s\n' "$clause"
}

# run_line WHERE COMMAND: runs COMMAND as a makefile's one command line,
# natively (WHERE posix) or under Wine (windows); leaves the output in
# $line_out, the exit status in $line_status and what the folder held
# before and after in $line_before and $line_after.
run_line() {
  local where=$1 command=$2 folder
  folder=$(mktemp -d "$work/line.XXXXXX")
  mkdir "$folder/sub"
  printf 'int a;\n' >"$folder/a.c"
  printf 'int b;\n' >"$folder/b.c"
  printf 'int a;\n' >"$folder/sub/a.c"
  printf 'a\r\n' >"$folder/a.txt"
  if [ "$where" = posix ]; then
    printf 'never.made: MakeFile\n\t%s\n' "$command" >"$folder/MakeFile"
  else
    printf 'never.made: MakeFile\r\n\t%s\r\n' "$command" >"$folder/MakeFile"
  fi
  line_before=$(cd "$folder" && find . | sort)
  line_status=0
  if [ "$where" = posix ]; then
    line_out=$(cd "$folder" && COMSPEC=/bin/sh "$vexel" 2>&1 </dev/null) || line_status=$?
  else
    line_out=$(cd "$folder" && "$wine" "$exe" 2>/dev/null </dev/null) || line_status=$?
  fi
  line_out=$(tr -d '\r' <<<"$line_out")
  line_after=$(cd "$folder" && find . | sort)
}

# expect_fails NAME WHERE COMMAND EXPECTED...: the command line's output
# holds each EXPECTED; a "Vexel: " line as a whole line, the last of them
# last, and then Vexel's exit status is -1.
expect_fails() {
  local name=$1 where=$2 command=$3 expected last="" missing=()
  shift 3
  run_line "$where" "$command"
  for expected in "$@"; do
    if [[ "$expected" == "Vexel: "* ]]; then
      grep -qxF -- "$expected" <<<"$line_out" || missing+=("the line '$expected'")
      last=$expected
    else
      grep -qF -- "$expected" <<<"$line_out" || missing+=("'$expected'")
    fi
  done
  [ -z "$last" ] || [ "$(tail -n 1 <<<"$line_out")" = "$last" ] || missing+=("'$last' as the last line")
  [ -z "$last" ] || [ "$line_status" -eq 255 ] || missing+=("exit status 255, not $line_status")
  if [ ${#missing[@]} -eq 0 ]; then
    result ok "$name"
  else
    result FAIL "$name" "missing: ${missing[*]}" "got (status $line_status):" "$line_out"
  fi
}
# expect_works NAME WHERE COMMAND: the command line runs and succeeds; Vexel
# says nothing but the command line itself.
expect_works() {
  local name=$1 where=$2 command=$3
  run_line "$where" "$command"
  if [ "$line_status" -eq 0 ] && [ "$(grep '^Vexel: ' <<<"$line_out")" = "Vexel: "$'\t'"$command" ]; then
    result ok "$name"
  else
    result FAIL "$name" "got (status $line_status):" "$line_out"
  fi
}
# wine_lacks COMMAND: prints the first program that COMMAND, a line for
# cmd /c, names and Wine does not have; nothing when Wine has them all.
wine_lacks() {
  local piece word
  while read -r piece; do
    word=${piece%% *}
    word=${word,,}
    case "$word" in
      echo | type | copy | del | dir | cd | set | md | mkdir | ren | move | "") ;;
      *) [ -e "$WINEPREFIX/drive_c/windows/system32/$word.exe" ] || { echo "$word.exe" && return; } ;;
    esac
  done < <(sed -e 's/^cmd \/c //' -e 's/"//g' -e 's/&&/\n/g' -e 's/[|&]/\n/g' <<<"$1" | sed 's/^ *//')
}

check_table() {
  local row on what posix windows clause command posix_names windows_names expected=()
  local name lacking rows=0
  while IFS= read -r row; do
    rows=$((rows + 1))
    row=${row//\\|/$'\x01'}
    IFS='|' read -r _ on what posix windows _ <<<"$row"
    on=${on//$'\x01'/|} what=${what//$'\x01'/|} posix=${posix//$'\x01'/|} windows=${windows//$'\x01'/|}
    posix_names=${on%%; on Windows*}
    windows_names=""
    [ "$posix_names" = "$on" ] || windows_names=${on#*; on Windows}
    command=""
    while IFS= read -r clause; do
      mapfile -t expected < <(spans "$clause")
      if [ ${#expected[@]} -eq 0 ]; then
        # "no file is written": the last command left the folder as it was.
        if [[ "$clause" == *"no file is written"* ]] && [ -n "$command" ]; then
          if [ "$line_before" = "$line_after" ]; then
            result ok "no shell: '$command' writes no file"
          else
            result FAIL "no shell: '$command' writes no file" "$(diff <(echo "$line_before") <(echo "$line_after"))"
          fi
        fi
      elif [[ "${expected[0]}" == "Vexel: "* ]]; then
        while IFS= read -r command; do
          expect_fails "no shell: '$command' gives ${expected[*]}" posix "$command" "${expected[@]}"
        done < <(spans "$posix_names")
        while IFS= read -r command; do
          if [ -z "$exe" ]; then
            result skip "no shell, Windows: '$command'" "no Windows program (--exe, --wine)"
          else
            expect_fails "no shell, Windows: '$command' gives ${expected[*]} under Wine" windows \
              "$command" "${expected[@]}"
          fi
        done < <(spans "$windows_names")
        command=""
      else
        command=${expected[0]}
        expect_fails "no shell: '$command' prints ${expected[*]:1}" posix "$command" "${expected[@]:1}"
      fi
    done < <(clauses "$what")
    while IFS= read -r command; do
      expect_works "no shell, POSIX way: '$command' works" posix "$command"
    done < <(spans "$posix")
    while IFS= read -r command; do
      [[ "$command" == "cmd /c "?* ]] || continue
      name="no shell, Windows way: '$command' works under Wine"
      if [ -z "$exe" ]; then
        result skip "$name" "no Windows program (--exe, --wine)"
      elif lacking=$(wine_lacks "$command") && [ -n "$lacking" ]; then
        result skip "$name" "Wine has no $lacking; checked on Windows itself"
      else
        expect_works "$name" windows "$command"
      fi
    done < <(spans "$windows")
  done < <(awk '/^## /{inside = ($0 == "## There is no shell")} inside && /^\| / && !/^\| On the line/' "$readme")
  [ "$rows" -gt 0 ] || result FAIL "no shell: the table" "no rows found in the README: has it moved?"
}

# ---------------------------------------------------------------------------
# The lines that list a makefile's lines beginning with a blank: README and
# manual page (awk, grep, findstr), README.txt (findstr). Each, run on a
# makefile whose third line is a command indented with blanks that holds
# ": ", must print that line, with its number, and nothing else.
check_listings() {
  local line listed name count=0 sample='    sh -c "echo built: yes > log.txt"'
  local folder="$work/listing"
  mkdir -p "$folder"
  printf 'app: main.c\n\tcc -o app main.c\n%s\n' "$sample" >"$folder/MakeFile"
  while IFS= read -r line; do
    count=$((count + 1))
    name="blank-indented lines listed by: $line"
    if [[ "$line" == findstr* ]]; then
      windows_listing "$name" "$line"
      continue
    fi
    listed=$(cd "$folder" && bash -c "$line" 2>&1 </dev/null) || true
    if [[ "$listed" == "3:"*"$sample" ]] && [ "$(wc -l <<<"$listed")" -eq 1 ]; then
      result ok "$name"
    else
      result FAIL "$name" "expected line 3, '$sample', alone; got:" "$listed"
    fi
  done < <(
    {
      for text in "$readme" "$readme_txt"; do
        sed -n 's/^ *\(\(grep -n\|awk\|findstr\) .* MakeFile\)\r\?$/\1/p' "$text"
        grep -o '`\(grep -n\|awk\|findstr\) [^`]* MakeFile`' "$text" | tr -d '`'
      done
      # The manual page: a line of its own, or the argument of .B or .BR.
      case "$manual" in *.gz) zcat "$manual" ;; *) cat "$manual" ;; esac |
        sed -n 's/^\(\.BR\? \)\?"\?\(\(grep\|awk\|findstr\) .*MakeFile\)"\?\( ;\)\?$/\2/p' |
        sed -e "s/\\\\(aq/'/g" -e 's/\\(dq/"/g' -e 's/\\-/-/g' -e 's/\\ / /g' -e 's/\\e/\\/g'
    } | sort -u
  )
  [ "$count" -gt 0 ] || result FAIL "blank-indented lines listed" "no listing command found in the documents"
}
# The Windows listing runs from a .cmd file, as typed at the prompt. Wine 8's
# findstr.exe is a stub that prints nothing: then the line is checked on
# Windows itself.
windows_listing() {
  local name=$1 line=$2 folder="$work/listing-windows" listed
  if [ -z "$exe" ]; then
    result skip "$name" "no Windows program (--exe, --wine)"
    return
  fi
  mkdir -p "$folder"
  tr -d '\r' <"$work/listing/MakeFile" | sed 's/$/\r/' >"$folder/MakeFile"
  printf '@findstr x probe.txt\r\n' >"$folder/probe.cmd"
  printf 'x\r\n' >"$folder/probe.txt"
  if [ -z "$(cd "$folder" && "$wine" cmd /c probe.cmd 2>/dev/null </dev/null | tr -d '\r')" ]; then
    result skip "$name" "Wine's findstr.exe prints nothing (a stub); checked on Windows itself"
    return
  fi
  printf '@%s\r\n' "$line" >"$folder/list.cmd"
  listed=$(cd "$folder" && "$wine" cmd /c list.cmd 2>/dev/null </dev/null | tr -d '\r') || true
  if [[ "$listed" == "3:"*'    sh -c "echo built: yes > log.txt"' ]] && [ "$(wc -l <<<"$listed")" -eq 1 ]; then
    result ok "$name"
  else
    result FAIL "$name" "got:" "$listed"
  fi
}

# ---------------------------------------------------------------------------
echo "Following the documents ($readme, $manual, $readme_txt):"
plan md "## A first makefile" "$readme" >"$work/readme.plan"
follow "README, a first makefile" "$work/readme.plan"
check_table
check_listings
plan roff ".SH EXAMPLES" "$manual" >"$work/manual.plan"
follow "manual page, EXAMPLES" "$work/manual.plan" /usr/share/doc/vexel "$doc"
plan txt "Your own makefile" "$readme_txt" >"$work/readme-txt.plan"
follow "README.txt, your own makefile" "$work/readme-txt.plan"

passed=$(grep -c '^ok$' "$work/tally" || true)
failed=$(grep -c '^FAIL$' "$work/tally" || true)
skipped=$(grep -c '^skip$' "$work/tally" || true)
echo "Document checks: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
