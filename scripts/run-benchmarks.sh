#!/usr/bin/env bash
# Runs every benchmark program of a build folder, each also writing its
# figures as JSON into BUILD/bench/results/; then times the asset generator,
# measures the game's peak resident memory headless (the recorded busy game)
# and in a window (the demo, on a display of its own), and ends with the
# table of figures and targets (scripts/bench-table.py), kept in
# BUILD/bench-results.json.
set -euo pipefail

build=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
results="$build/bench/results"
rm -rf "$results"
mkdir -p "$results"

for bench in "$build"/bench/*_bench; do
  [ -x "$bench" ] || continue
  name=$(basename "$bench")
  echo "== $name =="
  "$bench" --benchmark_min_time=0.2 --benchmark_out="$results/$name.json" --benchmark_out_format=json
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== asset generation =="
start=$(date +%s%N)
"$build/tools/assetgen" "$work/data" >/dev/null
echo "asset_generation_ms $((($(date +%s%N) - start) / 1000000))" >>"$results/figures.txt"

# The game's own share: headless it has no GL driver and no window system,
# so its peak resident memory is its own (and the C and C++ libraries' pages).
# Once in the recorded 640 x 480 window (2x art), once at the 1280 x 1024 of
# the demo's full screen (4x art), where the game plays on differently.
peak() {  # peak NAME RECORDING: the replay's peak resident memory, KiB
  (cd "$work" && python3 -c '
import resource, subprocess, sys
subprocess.run(sys.argv[2:], stdout=subprocess.DEVNULL)
print(sys.argv[1], resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)
' "$1" "$build/kalvexa" --replay "$2" --headless) >>"$results/figures.txt"
}
echo "== the busy game replayed headless =="
busy="$here/../bench/games/busy.kxr"
peak headless_peak_resident_kib "$busy"
sed 's/^size .*/size 1280 1024 1280 1024/' "$busy" >"$work/full-screen.kxr"
peak headless_full_screen_peak_resident_kib "$work/full-screen.kxr"

echo "== the demo, for the game's peak resident memory in a window =="
"$here/with-display.sh" "$build/tools/demo" "$build/kalvexa" "$build/run/data" "$build/bench/demo" || true

python3 "$here/bench-table.py" "$build"
