#!/usr/bin/env bash
# Runs the whole test suite in each build folder given; fails when any fails.
set -uo pipefail

status=0
for dir in "$@"; do
  echo "== tests in $dir =="
  ctest --test-dir "$dir" --output-on-failure -j2 --timeout 300 || status=1
done
exit $status
