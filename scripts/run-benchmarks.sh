#!/usr/bin/env bash
# Runs every benchmark program of a build folder.
set -euo pipefail

for bench in "$1"/bench/*_bench; do
  [ -x "$bench" ] || continue
  echo "== $(basename "$bench") =="
  "$bench" --benchmark_min_time=0.2
done
