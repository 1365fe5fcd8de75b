#!/usr/bin/env bash
# The image-wide commands on an image the size of a whole disc (650-700 MB,
# the demo over and over), each against what a standard tool does with the
# same file: `cmp -l` of the two images (its list written to a file), `cat`,
# `dd` (1 MiB blocks) and `sha256sum` of one. Every command runs in turn,
# round after round, and each is given as the median of its CPU time (user +
# system) and its peak memory (max RSS): the machine is shared, and wall time
# is mostly waiting.
#   diff, patch make (PPF, BPS)     base against a mod of ~800 sectors (~11,000 PPF records)
#   patch apply (PPF, BPS)          onto a fresh copy of the base
#   sectors verify / repair         the base / the mod before its codes
# Usage: bench/scale.sh [BUILD_DIR] [ROUNDS]   (default build-bench and 5; a
# Release build holding starfall-cli and cpu-time; STARFALL_CLI names another
# starfall-cli to measure). Needs ~3.5 GB in /tmp.
set -euo pipefail

build=$(realpath "${1:-build-bench}")
rounds=${2:-5}
cli=${STARFALL_CLI:-$build/bin/starfall-cli} # another build's, to compare
cpu_time="$build/bin/cpu-time"
for tool in "$cli" "$cpu_time"; do
    [ -x "$tool" ] || { echo "missing $tool: build the bench targets" >&2; exit 1; }
done
free_kb=$(df -Pk /tmp | awk 'NR == 2 { print $4 }')
[ "$free_kb" -gt $((3500 * 1024)) ] || { echo "/tmp needs 3.5 GB free" >&2; exit 1; }

work=$(mktemp -d /tmp/starfall-scale-XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"

# The base: the demo fifteen times over, whole sectors each time.
mkdir demo && "$cli" make-demo demo > /dev/null
for _ in $(seq 15); do cat demo/demo.img; done > base.img
size=$(stat -c %s base.img)
last_sector=$((size / 2352 - 1))

# The mod: one data byte changed in every 360th sector (stale.img), then
# the codes of those sectors repaired (modded.img), as a mod is made.
cp base.img stale.img
perl -e '
    open(my $f, "+<", $ARGV[0]) or die "$!";
    binmode $f;
    for (my $s = 0; $s <= $ARGV[1]; $s += 360) {
        my $at = $s * 2352 + 24 + ($s % 2000);
        seek($f, $at, 0); read($f, my $b, 1);
        seek($f, $at, 0); print $f chr(ord($b) ^ 0x5A);
    }' stale.img "$last_sector"
cp stale.img modded.img
"$cli" --dir demo sectors repair modded.img --sectors "0-$last_sector" > /dev/null
"$cli" patch make base.img modded.img mod.ppf > /dev/null
"$cli" patch make base.img modded.img mod.bps --format bps > /dev/null
records=$("$cli" patch info mod.ppf | awk -F': ' '/"records"/ { gsub(/[ ,]/, "", $2); print $2 }')
echo "image: $size bytes; $(cmp -l base.img modded.img | wc -l) bytes differ; PPF records: $records"

# NAME|PREPARE|COMMAND: PREPARE runs untimed before each timed COMMAND.
# cmp's list goes to a file: sent to /dev/null, cmp stops at the first difference.
cases=(
    "cmp -l||cmp -l base.img modded.img > cmp.out"
    "cat||cat base.img > /dev/null"
    "dd||dd if=base.img of=/dev/null bs=1M status=none"
    "sha256sum||sha256sum base.img > sha.out"
    "diff||$cli --dir demo diff base.img modded.img > diff.out"
    "patch make (PPF)||$cli patch make base.img modded.img out.ppf > make.out"
    "patch make (BPS)||$cli patch make base.img modded.img out.bps --format bps > make.out"
    "patch apply (PPF)|cp base.img image.img|$cli --dir demo patch apply image.img mod.ppf > apply.out"
    "patch apply (BPS)|cp base.img image.img|$cli --dir demo patch apply image.img mod.bps > apply.out"
    "sectors verify||$cli sectors verify base.img > verify.out"
    "sectors repair|cp stale.img image.img|$cli --dir demo sectors repair image.img --sectors 0-$last_sector > repair.out"
)
for round in $(seq "$rounds"); do
    for i in "${!cases[@]}"; do
        IFS='|' read -r _ prepare command <<< "${cases[$i]}"
        [ -z "$prepare" ] || bash -c "$prepare"
        # cmp and verify exit 1 on differences; the setup above checked the rest.
        "$cpu_time" "results.$i" bash -c "exec $command" || true
    done
    echo "round $round of $rounds done" >&2
done

# The median of column COLUMN of a results file.
median() { sort -g -k"$2,$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END { print v[int((NR + 1) / 2)] }'; }
for i in 0 1 2 3; do base_cpu[$i]=$(median "results.$i" 1); done
printf '%-20s %10s %10s %9s %9s %9s %11s\n' command "CPU ms" "max RSS MB" "/ cmp -l" "/ cat" "/ dd" "/ sha256sum"
for i in "${!cases[@]}"; do
    IFS='|' read -r name _ _ <<< "${cases[$i]}"
    cpu=$(median "results.$i" 1)
    rss=$(median "results.$i" 2)
    awk -v n="$name" -v c="$cpu" -v r="$rss" -v a="${base_cpu[0]}" -v b="${base_cpu[1]}" \
        -v d="${base_cpu[2]}" -v s="${base_cpu[3]}" 'BEGIN {
        printf "%-20s %10.1f %10.1f %8.2fx %8.2fx %8.2fx %10.2fx\n", n, c * 1000, r / 1024, c / a, c / b, c / d, c / s
    }'
done
