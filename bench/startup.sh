#!/usr/bin/env bash
# Start-up of the editor and of starfall-cli, each measured with hyperfine as
# whole processes against its baseline, under a virtual X server (Xvfb):
#   editor first paint        / bare-window (a tab widget of the same size)
#   editor, 100,000-entry lists - editor, the demo's lists (in ms)
#   starfall-cli unit get     / xxd -s P -l 32 on the same image
#   starfall-cli export       / bare-io read of the bytes export reads
#   starfall-cli unit set     / bare-io safe-write (journal of the old bytes,
#                               flushed, then pwrite, fdatasync, unlink)
# then the same four pairs again as the median CPU time of interleaved runs
# (STARFALL_PAIR_ROUNDS rounds, default 100; a fifth of them for the editor
# and unit set), and export, import, unit get, units, diff and a dry-run
# patch apply with 1,000, 10,000 and 100,000-entry lists, iconv of the unit
# list (the floor of units) and cat of the export's output (the floor of
# export): the median CPU time and peak memory of interleaved runs, how much
# each grows per tenfold list (linear: near 10x, or less), and export
# against cat.
# Usage: bench/startup.sh [BUILD_DIR] [lists]   (default build-bench, a
# Release build holding starfall-editor, starfall-cli, bare-window, bare-io and
# cpu-time; "lists" runs the list sizes alone, without the editor.
# STARFALL_LIST_SIZES and STARFALL_LIST_ROUNDS change their sizes and rounds.)
set -euo pipefail

build=$(realpath "${1:-build-bench}")
mode=${2:-all}
bin="$build/bin"
if [ "$mode" != lists ] && [ -z "${STARFALL_UNDER_XVFB:-}" ]; then
    export STARFALL_UNDER_XVFB=1
    exec xvfb-run -a -s "-screen 0 1600x1200x24" "$0" "$build"
fi
tools=(starfall-cli cpu-time)
[ "$mode" = lists ] || tools+=(starfall-editor bare-window bare-io)
for tool in "${tools[@]}"; do
    [ -x "$bin/$tool" ] || { echo "missing $bin/$tool: build the bench targets" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Every program runs from a copy, as an installed one would. The linker's
# own output, as it lies in the page cache after the link, maps more of
# itself at each page fault: starfall-cli then held 6.0 MB instead of 4.0 MB
# and took about 60 us more per run. A copy, or a file read in cold, does not.
mkdir "$work/bin"
for tool in "${tools[@]}"; do
    cp "$bin/$tool" "$work/bin/"
done
bin="$work/bin"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# median FILE COLUMN: the median of that column of the lines of FILE.
median() { sort -g -k"$2,$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END { print v[int((NR + 1) / 2)] }'; }

# LISTS DIR N: the demo's list files in DIR with N entries each, the demo's
# entries over and over (the same records, named many times).
lists() {
    mkdir -p "$2"
    cp "$1/weapon.ini" "$2/"
    for list in unitlist.ini charlist.ini; do
        awk -v total="$3" 'BEGIN { n = 0 } /^;/ { next } !header { print; header = 1; next }
             { entries[n++] = $0 }
             END { for (i = 0; i < total; ++i) print entries[i % n] }' \
            "$1/$list" > "$2/$list"
    done
}

# export, import (of that export: nothing to write) and unit get, with lists
# of each size, round after round; the median CPU time and max RSS of each.
list_sizes() {
    local sizes=(${STARFALL_LIST_SIZES:-1000 10000 100000})
    local rounds=${STARFALL_LIST_ROUNDS:-5}
    local source="$work/list-demo" cli="$bin/starfall-cli"
    mkdir -p "$source"
    "$cli" make-demo "$source" > /dev/null
    local image="$source/demo.img" n
    # The same image with one unit changed: diff and a dry-run apply of its
    # patch name that record once per list entry naming it.
    local modded="$work/modded.img"
    cp "$image" "$modded"
    "$cli" --dir "$source" unit set "$modded" "#0" hp=4200 > /dev/null
    "$cli" patch make "$image" "$modded" "$work/mod.ppf" > /dev/null
    for n in "${sizes[@]}"; do
        lists "$source" "$work/lists$n" "$n"
        "$cli" --dir "$work/lists$n" export "$image" > "$work/lists$n/all.json"
    done
    # Export and cat each write a large file: each starts with the previous
    # one gone and every write on disk, so that neither pays for truncating
    # an old output or for the other's writeback.
    settle() { rm -f "$work/export.out" "$work/cat.out"; sync; }
    local round verb
    for round in $(seq "$rounds"); do
        for n in "${sizes[@]}"; do
            settle
            "$bin/cpu-time" "$work/lists.$n.export" \
                "$cli" --dir "$work/lists$n" export "$image" > "$work/export.out"
            "$bin/cpu-time" "$work/lists.$n.import" \
                "$cli" --dir "$work/lists$n" import "$image" "$work/lists$n/all.json" \
                > "$work/import.out"
            "$bin/cpu-time" "$work/lists.$n.get" \
                "$cli" --dir "$work/lists$n" unit get "$image" "#0" > "$work/get.out"
            "$bin/cpu-time" "$work/lists.$n.units" \
                "$cli" --dir "$work/lists$n" units > "$work/units.out"
            "$bin/cpu-time" "$work/lists.$n.diff" \
                "$cli" --dir "$work/lists$n" diff "$image" "$modded" > "$work/diff.out"
            "$bin/cpu-time" "$work/lists.$n.apply" \
                "$cli" --dir "$work/lists$n" patch apply "$image" "$work/mod.ppf" --dry-run \
                > "$work/apply.out"
            "$bin/cpu-time" "$work/lists.$n.iconv" \
                iconv -f CP949 -t UTF-8 "$work/lists$n/unitlist.ini" > "$work/iconv.out"
            settle
            "$bin/cpu-time" "$work/lists.$n.cat" cat "$work/lists$n/all.json" > "$work/cat.out"
        done
    done
    echo "List sizes, median CPU time and max RSS of $rounds interleaved runs:"
    for verb in export import get units diff apply iconv cat; do
        local previous=""
        printf '%-10s' "$verb"
        for n in "${sizes[@]}"; do
            local cpu rss
            cpu=$(median "$work/lists.$n.$verb" 1)
            rss=$(median "$work/lists.$n.$verb" 2)
            awk -v n="$n" -v c="$cpu" -v r="$rss" -v p="$previous" 'BEGIN {
                printf "  %6d: %9.1f ms %7.1f MB", n, c * 1000, r / 1024
                if (p != "") printf " (x%.1f)", c / p
            }'
            previous=$cpu
        done
        echo
    done
    # Export against writing its own output, the floor of a streaming export.
    printf '%-10s' "export/cat"
    for n in "${sizes[@]}"; do
        awk -v n="$n" -v e="$(median "$work/lists.$n.export" 1)" -v c="$(median "$work/lists.$n.cat" 1)" \
            'BEGIN { printf "  %6d: %5.2fx", n, e / c }'
    done
    echo
}
if [ "$mode" = lists ]; then
    list_sizes
    exit 0
fi
# hyperfine's own notes (outliers and the like) are kept apart; they are
# shown only when a run fails.
hyper() {
    hyperfine --shell=none --warmup 3 --min-runs 20 --style none "$@" > /dev/null \
        2> "$work/hyperfine.err" || { cat "$work/hyperfine.err" >&2; exit 1; }
}

# The demo, next to a copy of the editor (it reads its lists from its own folder).
demo="$work/demo"
mkdir -p "$demo"
"$bin/starfall-cli" make-demo "$demo" > /dev/null
cp "$bin/starfall-editor" "$demo/"
image="$demo/demo.img"

# The same image with 100,000-entry lists: the demo's entries over and over.
big="$work/big"
mkdir -p "$big"
cp "$bin/starfall-editor" "$big/"
for list in unitlist.ini charlist.ini; do
    awk 'BEGIN { n = 0 } /^;/ { next } !header { print; header = 1; next }
         { entries[n++] = $0 }
         END { for (i = 0; i < 100000; ++i) print entries[i % n] }' \
        "$demo/$list" > "$big/$list"
done

# Each command of a hyperfine CSV, in order: "median-seconds cpu-seconds".
# The median and the CPU time (user + system) are steadier than the mean
# wall clock on a machine that is busy with other work.
means() { awk -F, 'NR > 1 { print $4, $5 + $6 }' "$1"; }
ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN {
        split(a, x, " "); split(b, y, " ")
        printf "%.2fx (%.1f / %.1f ms), CPU %.2fx", x[1] / y[1], x[1] * 1000, y[1] * 1000, x[2] / y[2]
    }'
}
report() { printf '%-40s %-42s target %s\n' "$1" "$2" "$3"; }

# ranges CALL IMAGE COMMAND...: the byte ranges COMMAND preads or pwrites
# (CALL) on IMAGE, "offset length" per line; none is an error.
ranges() {
    local call=$1 target=$2
    shift 2
    strace -qq -e trace=openat,close,"$call" -o "$work/trace" "$@" > /dev/null
    awk -v image="$target" -v call="$call" '
        index($0, "openat(") == 1 && index($0, "\"" image "\"") { fd[$NF] = 1; next }
        index($0, "close(") == 1 { sub(/^close\(/, ""); sub(/\).*/, ""); delete fd[$0]; next }
        index($0, call "(") == 1 {
            head = $0; sub("^" call "\\(", "", head); sub(/,.*/, "", head)
            if (!(head in fd)) next
            tail = $0; sub(/\) += .*/, "", tail); n = split(tail, part, ", ")
            print part[n], part[n - 1]; found = 1
        }
        END { exit !found }' "$work/trace" || { echo "no $call on $target: $*" >&2; exit 1; }
}

export STARFALL_QUIT_AFTER_FIRST_PAINT=1
size=$("$demo/starfall-editor" "$image")
hyper --export-csv "$work/editor.csv" \
    "$bin/bare-window ${size/x/ }" \
    "$demo/starfall-editor $image" \
    "$big/starfall-editor $image"
mapfile -t editor < <(means "$work/editor.csv")
unset STARFALL_QUIT_AFTER_FIRST_PAINT

cli=("$bin/starfall-cli" --dir "$demo")
first_unit=$(awk '/^;/ { next } !header { base = $2; header = 1; next }
                  { sub(/^[^,]*, /, ""); print base + $0; exit }' "$demo/unitlist.ini")
ranges pread64 "$image" "${cli[@]}" export "$image" > "$work/export.ranges"
cp "$image" "$work/set.img"
ranges pwrite64 "$work/set.img" "${cli[@]}" unit set "$work/set.img" "#0" hp=4200 \
    > "$work/set.ranges"
cp "$image" "$work/bare.img"
hyper --export-csv "$work/cli.csv" \
    "xxd -s $first_unit -l 32 $image" \
    "${cli[*]} unit get $image '#0'" \
    "$bin/bare-io read $image $work/export.ranges" \
    "${cli[*]} export $image"
# Each set starts from the unedited image, already on disk, so that every
# run really writes (a set that changes nothing writes nothing) and its own
# flushes are all that is flushed; the bare write likewise.
hyper --export-csv "$work/set.csv" \
    --prepare "sh -c 'cp $image $work/bare.img && sync $work/bare.img'" \
    "$bin/bare-io safe-write $work/bare.img $work/set.ranges" \
    --prepare "sh -c 'cp $image $work/set.img && sync $work/set.img'" \
    "${cli[*]} unit set $work/set.img '#0' hp=4200"
mapfile -t cli_means < <(means "$work/cli.csv"; means "$work/set.csv")

echo "Start-up, median of each whole process (window ${size}):"
report "editor first paint / bare window" "$(ratio "${editor[1]}" "${editor[0]}")" "1.3x"
report "editor 100,000-entry lists - demo lists" \
    "$(awk -v a="${editor[2]%% *}" -v b="${editor[1]%% *}" 'BEGIN { printf "%+.1f ms", (a - b) * 1000 }')" \
    "50 ms"
report "starfall-cli unit get / xxd" "$(ratio "${cli_means[1]}" "${cli_means[0]}")" "1.2x"
report "starfall-cli export / bare preads" "$(ratio "${cli_means[3]}" "${cli_means[2]}")" "1.5x"
report "starfall-cli unit set / bare crash-safe write" "$(ratio "${cli_means[5]}" "${cli_means[4]}")" "1.2x"

# The same pairs as the targets state them: CPU time, each pair run in turn
# with either one first, so that a machine busy with other work slows both
# alike (hyperfine above runs all of one command, then all of the other).
# pair ROUNDS A B: runs the functions A and B ROUNDS times each, in that
# order and the other in turn; each appends to "$work/cpu.<its name>".
pair() {
    local rounds=$1 a=$2 b=$3 i
    rm -f "$work/cpu.$a" "$work/cpu.$b"
    for ((i = 0; i < rounds; ++i)); do
        if ((i % 2)); then "$b"; "$a"; else "$a"; "$b"; fi
    done
}
timed() { local name=$1; shift; "$bin/cpu-time" "$work/cpu.$name" "$@" > /dev/null; }
bare_window() { STARFALL_QUIT_AFTER_FIRST_PAINT=1 timed bare_window "$bin/bare-window" ${size/x/ }; }
editor() { STARFALL_QUIT_AFTER_FIRST_PAINT=1 timed editor "$demo/starfall-editor" "$image"; }
xxd_record() { timed xxd_record xxd -s "$first_unit" -l 32 "$image"; }
unit_get() { timed unit_get "${cli[@]}" unit get "$image" "#0"; }
bare_read() { timed bare_read "$bin/bare-io" read "$image" "$work/export.ranges"; }
export_all() { timed export_all "${cli[@]}" export "$image"; }
bare_write() {
    cp "$image" "$work/bare.img" && sync "$work/bare.img"
    timed bare_write "$bin/bare-io" safe-write "$work/bare.img" "$work/set.ranges"
}
unit_set() {
    cp "$image" "$work/set.img" && sync "$work/set.img"
    timed unit_set "${cli[@]}" unit set "$work/set.img" "#0" hp=4200
}
cpu_ratio() {
    awk -v a="$(median "$work/cpu.$1" 1)" -v b="$(median "$work/cpu.$2" 1)" \
        'BEGIN { printf "%.2fx (%.2f / %.2f ms)", a / b, a * 1000, b * 1000 }'
}
rounds=${STARFALL_PAIR_ROUNDS:-100}
pair $((rounds / 5)) editor bare_window
pair "$rounds" unit_get xxd_record
pair "$rounds" export_all bare_read
pair $((rounds / 5)) unit_set bare_write
echo "The same, median CPU time of interleaved runs ($rounds rounds, $((rounds / 5)) for the editor and set):"
report "editor first paint / bare window" "$(cpu_ratio editor bare_window)" "1.3x"
report "starfall-cli unit get / xxd" "$(cpu_ratio unit_get xxd_record)" "1.2x"
report "starfall-cli export / bare preads" "$(cpu_ratio export_all bare_read)" "1.5x"
report "starfall-cli unit set / bare crash-safe write" "$(cpu_ratio unit_set bare_write)" "1.2x"

list_sizes
