#!/usr/bin/env bash
# Runs every benchmark of a bench build: each sub-folder's run.sh, or failing
# that its Google Benchmark programs.
set -euo pipefail
BUILD=${1:-build-bench}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
# Window benchmarks need no display.
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
for dir in "$ROOT"/bench/*/; do
  name=$(basename "$dir")
  echo "== $name"
  if [ -x "$dir/run.sh" ]; then
    "$dir/run.sh" "$ROOT/$BUILD"
  else
    for exe in "$ROOT/$BUILD"/bin/bench_"$name"*; do
      if [ -x "$exe" ]; then "$exe"; fi
    done
  fi
done
