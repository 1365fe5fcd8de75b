#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded time, each from its
# seed corpus; new inputs go to the build's own corpus, findings to
# BUILD/findings. Exits non-zero when a target finds a crash.
set -euo pipefail

build=$1
seconds=${2:-60}
here=$(cd "$(dirname "$0")/.." && pwd)
status=0
for target in name_list weapon_ini decimal sector ppf bps vcdiff import; do
  corpus=$build/corpus/$target
  findings=$build/findings/$target
  mkdir -p "$corpus" "$findings"
  max_len=4096
  [ "$target" = sector ] && max_len=2352
  echo "== $target: ${seconds}s"
  if ! "$build/bin/${target}_fuzz" "$corpus" "$here/fuzz/corpus/$target" \
      -max_total_time="$seconds" -max_len="$max_len" -print_final_stats=1 \
      -artifact_prefix="$findings/" 2>"$build/findings/$target.log"; then
    echo "   $target found a crash: see $findings and $build/findings/$target.log"
    status=1
  fi
  grep -E '^stat::number_of_executed_units|^Done' "$build/findings/$target.log" || true
done
exit $status
