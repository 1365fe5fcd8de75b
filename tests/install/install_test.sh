#!/usr/bin/env bash
# Installs the build into a scratch prefix and uses what landed there: the
# CLI on the demo, its manual page and completion, the menu entry and the
# metainfo through their validators, the icons, and the editor finding the
# list files beside the image it opens.
# install_test.sh BUILD_DIR VERSION GUI(ON|OFF)
set -euo pipefail
build=$1 version=$2 gui=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" > "$scratch/install.log"
export XDG_CONFIG_HOME=$scratch/config ASAN_OPTIONS=detect_leaks=0
cli=$prefix/bin/starfall-cli

for program in starfall-cli starfall-recv; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program not installed"
done
[ -s "$prefix/share/doc/starfall/README.md" ] || fail "README not installed"
[ "$("$cli" --version)" = "starfall-cli $version" ] || fail "starfall-cli --version: $("$cli" --version)"

# The demo and its lists in a folder of their own: the installed CLI has none beside it.
mkdir "$scratch/images"
"$cli" make-demo "$scratch/images" > /dev/null
"$cli" unit get "$scratch/images/demo.img" '#0' > "$scratch/unit.json" ||
  fail "the installed CLI did not find the lists beside the image"
grep -q '"hp"' "$scratch/unit.json" || fail "unit get printed no record"

# The manual: no groff warnings, and every line of every help text the CLI prints.
manual=$prefix/share/man/man1/starfall-cli.1
[ -s "$manual" ] || fail "manual page not installed"
groff -man -ww -z "$manual" 2> "$scratch/groff.log"
[ ! -s "$scratch/groff.log" ] || fail "groff warns: $(cat "$scratch/groff.log")"
groff -man -Tascii -P-cbou "$manual" 2> /dev/null | sed 's/^ *//; s/ *$//' > "$scratch/manual.txt"
verbs=$("$cli" --help | awk '/^Subcommands:/ { listed = 1; next } listed && NF { print $1 }')
[ -n "$verbs" ] || fail "no verbs in starfall-cli --help"
for command in "" $verbs "pilot get" "patch make"; do
  # shellcheck disable=SC2086 # the words of a command
  "$cli" $command --help | sed 's/^ *//; s/ *$//' | grep -v '^$' | while IFS= read -r line; do
    grep -qxF -- "$line" "$scratch/manual.txt" || fail "manual lacks '$line' of '$command --help'"
  done
done

# The completion offers the verbs, their sub-verbs and options, and folders after --dir.
completion=$prefix/share/bash-completion/completions/starfall-cli
[ -s "$completion" ] || fail "bash completion not installed"
complete_words() { # the words offered for the command line "$@" (last word being typed)
  bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _starfall_cli
           printf "%s\n" "${COMPREPLY[@]}"' _ "$completion" "$@"
}
# Typed in the scratch folder, whose few files file names complete from. The words
# are taken whole before grep looks at them: "grep -q" stops reading at its match,
# and under pipefail a long list would fail the pipeline on the writer's SIGPIPE.
offers() { # offers WORD COMMAND-LINE...: fails unless WORD is among the words offered
  local word=$1 offered
  shift
  offered=$(cd "$scratch" && complete_words "$@")
  grep -qxF -- "$word" <<< "$offered" || fail "completion of '$*' offers no '$word': $(tr '\n' ' ' <<< "$offered")"
}
offered=$(cd "$scratch" && complete_words starfall-cli pil | sort | tr '\n' ' ')
[ "$offered" = 'pilot pilots ' ] || fail "completion of 'pil': $offered"
offers set starfall-cli --dir /tmp pilot ''
offers --format starfall-cli patch make --f
offers images starfall-cli --dir im

[ "$gui" = ON ] || exit 0

editor=$prefix/bin/starfall-editor
[ -x "$editor" ] || fail "bin/starfall-editor not installed"
export QT_QPA_PLATFORM=offscreen
[ "$("$editor" --version)" = "starfall-editor $version" ] || fail "starfall-editor --version"
desktop-file-validate "$prefix/share/applications/org.starfall.editor.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.starfall.editor.metainfo.xml" > /dev/null
for size in 16 22 24 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/org.starfall.editor.png
  [ -s "$icon" ] || fail "no ${size}x${size} icon"
  # A PNG states its width and height at bytes 16 to 23.
  [ "$(xxd -s 16 -l 8 -p "$icon")" = "$(printf '%08x%08x' "$size" "$size")" ] ||
    fail "the ${size}x${size} icon is $(xxd -s 16 -l 8 -p "$icon")"
done

# Nothing beside the installed editor: it must take the lists from the image's folder.
STARFALL_QUIT_AFTER_FIRST_PAINT=1 "$editor" "$scratch/images/demo.img" > /dev/null 2> "$scratch/editor.err" ||
  fail "the installed editor ended with $?: $(cat "$scratch/editor.err")"
! grep -q '찾을 수 없습니다' "$scratch/editor.err" || fail "the editor missed a list: $(cat "$scratch/editor.err")"
echo "installed and used: $prefix"
