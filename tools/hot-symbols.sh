#!/usr/bin/env bash
# Writes src/cli/hot-symbols.txt: every function starfall-cli runs in the
# commands a script runs most (a record's get and set, the lists, export),
# by its linker name. The linker (lld) lays them side by side, so that a
# command's start-up faults in a few pages of code instead of pages from all
# over the program. Names the code no longer has are passed over, so a list
# from before a change still links; write it again after large changes and
# compare bench/startup.sh's figures.
# Usage: tools/hot-symbols.sh [BUILD_DIR]   (default build-bench: a Release
# build holding starfall-cli; needs valgrind)
set -euo pipefail

build=$(realpath "${1:-build-bench}")
cli="$build/bin/starfall-cli"
out=$(realpath "$(dirname "$0")/../src/cli/hot-symbols.txt")
[ -x "$cli" ] || { echo "missing $cli: build starfall-cli" >&2; exit 1; }
command -v valgrind > /dev/null || { echo "needs valgrind (apt-get install valgrind)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cli" make-demo "$work" > /dev/null
image="$work/demo.img"
run=0
traced() {
    valgrind --tool=callgrind --demangle=no --callgrind-out-file="$work/$((run += 1)).cg" \
        "$cli" --dir "$work" "$@" > /dev/null 2>&1 || true
}
traced export "$image"
traced unit get "$image" "#0"
traced unit set "$image" "#0" hp=4200
traced unit set "$image" "#0" hp=abc
traced pilot get "$image" "#0"
traced weapon get "$image" 1
traced units
traced pilots
traced keys
# Callgrind names each function it saw as "fn=(id) name" (or cfn= for a
# callee), the first time; a recursive call's name ends in 'N. The functions
# every command runs come first, then those fewer commands share: the code of
# one command lies together.
for trace in "$work"/*.cg; do
    sed -n -E "s/^c?fn=\([0-9]+\) (.*)/\1/p" "$trace" | sed -E "s/'[0-9]+$//" |
        grep -v -E '^(\(below main\)|0x[0-9a-f]+)$' | LC_ALL=C sort -u
done | LC_ALL=C sort | uniq -c | LC_ALL=C sort -k1,1nr -k2 | awk '{ print $2 }' > "$out"
echo "$(wc -l < "$out") functions in $out"
