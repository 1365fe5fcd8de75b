#!/usr/bin/env bash
# The mod workflow on the demo image: `patch make`, `patch apply` and `diff`
# against `cmp -l` of the same files, which also reads both images whole
# (target: within 3x of cmp), and `import` of the image's whole export.
# Usage: bench/mods.sh [STARFALL_CLI]  (a Release build; see `make bench-mods`)
set -euo pipefail

cli=$(realpath "${1:-build-bench/bin/starfall-cli}")
work=$(mktemp -d /tmp/starfall-patch-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"

# A mod as a user makes one: edit, repair the sector codes, make the patch.
"$cli" make-demo . > /dev/null
cp demo.img base.img
"$cli" --dir . pilot set demo.img "#0" melee=201 > /dev/null
"$cli" --dir . unit set demo.img "#1" hp=4321 > /dev/null
"$cli" --dir . sectors repair demo.img > /dev/null
mv demo.img modded.img
"$cli" patch make base.img modded.img mod.ppf > /dev/null
"$cli" patch make base.img modded.img mod.bps --format bps > /dev/null
xdelta3 -e -f -s base.img modded.img mod.vcdiff
echo "demo image: $(stat -c %s base.img) bytes; $(cmp -l base.img modded.img | wc -l) bytes differ"

# cmp exits 1 on differing files, hence -i. Each make and apply was run once
# above with its exit status checked. The outputs go to a file: with its
# output sent to /dev/null, cmp stops at the first difference.
hyperfine -N -i --warmup 3 --runs 20 --output "$work/out.txt" \
  -n cmp "cmp -l base.img modded.img" \
  -n "patch make (PPF)" "$cli patch make base.img modded.img out.ppf" \
  -n "patch make (BPS)" "$cli patch make base.img modded.img out.bps --format bps" \
  -n diff "$cli --dir . diff base.img modded.img"

# Each apply starts from a fresh copy of the base, already on disk, so that
# the apply's own flush is all that is timed.
hyperfine -N -i --warmup 3 --runs 20 --output "$work/out.txt" \
  --prepare "sh -c 'cp base.img image.img && sync image.img'" \
  -n cmp "cmp -l base.img modded.img" \
  -n "patch apply (PPF)" "$cli --dir . patch apply image.img mod.ppf" \
  -n "patch apply (BPS)" "$cli --dir . patch apply image.img mod.bps" \
  -n "patch apply (VCDIFF)" "$cli --dir . patch apply image.img mod.vcdiff" \
  -n "patch check (3)" "$cli --dir . patch check image.img mod.ppf mod.bps mod.vcdiff"

# import of every record of the demo: once onto the same records (nothing to
# write), once onto the base (the mod's two records change).
"$cli" --dir . export modded.img > modded.json
hyperfine -N -i --warmup 3 --runs 20 --prepare "sh -c 'cp base.img image.img && sync image.img'" \
  -n "import (no change)" "$cli --dir . import modded.img modded.json" \
  -n "import (two records)" "$cli --dir . import image.img modded.json"
