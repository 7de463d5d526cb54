#!/usr/bin/env bash
# make fuzz: the targets of tools/fuzz as libFuzzer programs (clang, with
# AddressSanitizer and UndefinedBehaviorSanitizer) in FUZZ_BUILD, each run for
# FUZZ_SECONDS (60) seconds from its checked-in seeds and regressions, the
# game's generated files in DATA_BUILD/run/data and the recorded games in
# bench/games. Prints a line of figures per target, also written to
# FUZZ_BUILD/fuzz-summary.txt; fails when a target crashed, its input left in
# FUZZ_BUILD/crashes/<target>/ and its report in FUZZ_BUILD/logs/<target>.log.
#
#   scripts/fuzz.sh DATA_BUILD FUZZ_BUILD
set -euo pipefail
shopt -s nullglob
cd "$(dirname "$0")/.."
data="$1/run/data"
fuzz="$2"
seconds="${FUZZ_SECONDS:-60}"
ogg_head=16384   # bytes of each Ogg file kept as a seed: its headers and first pages
png_max=64k      # larger pictures would slow every case down
slice_max=60     # seconds of one fuzzing process
targets=$(cd tools/fuzz && for dir in */; do echo "${dir%/}"; done)

cmake -S . -B "$fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVX_FUZZ=ON >/dev/null
cmake --build "$fuzz" -j"${JOBS:-$(nproc)}" --target $(printf 'fuzz_%s ' $targets)

# Seeds from the game's own files, copied afresh; a file's folder goes into its name.
seeds="$fuzz/seeds"
rm -rf "$seeds"
for t in $targets; do mkdir -p "$seeds/$t"; done
seed() {  # seed TARGET FILE...
  local target=$1 file
  shift
  for file in "$@"; do cp "$file" "$seeds/$target/$(tr / _ <<<"${file#"$data"/}")"; done
}
seed wav_reader $(find "$data" -name '*.wav')
for file in $(find "$data" -name '*.ogg'); do head -c $ogg_head "$file" >"$seeds/ogg_reader/$(basename "$file")"; done
seed png_surface $(find "$data" -name '*.png' -size -$png_max)
seed tune_image $(find "$data/tunes" -name '*.png')
seed recording bench/games/*.kxr
seed string_load bench/games/*.kxr tools/fuzz/saved_state/seeds/*

# A figure of libFuzzer's last status line ("cov: 512").
field() { sed -n "s/.* $1: \([0-9]*\).*/\1/p" <<<"$last"; }

summary="$fuzz/fuzz-summary.txt"
: >"$summary"
mkdir -p "$fuzz/logs"
status=0
for t in $targets; do
  corpus="$fuzz/corpus/$t" crashes="$fuzz/crashes/$t" log="$fuzz/logs/$t.log"
  rm -rf "$crashes"
  mkdir -p "$corpus" "$crashes"
  : >"$log"
  inputs=("$seeds/$t")
  for dir in seeds regressions; do
    if [ -d "tools/fuzz/$t/$dir" ]; then inputs+=("tools/fuzz/$t/$dir"); fi
  done
  # In slices, each a new process on the corpus so far: stb_vorbis leaks what
  # it allocated for a header it refuses, and minutes of damaged Ogg files
  # would exhaust memory. The game's fatal errors wait for a debugger on
  # standard input: none comes.
  for ((left = seconds; left > 0; left -= slice_max)); do
    LSAN_OPTIONS=suppressions=tools/fuzz/lsan.supp UBSAN_OPTIONS=print_stacktrace=1 \
      "$fuzz/tools/fuzz/fuzz_$t" -max_total_time=$((left < slice_max ? left : slice_max)) -timeout=25 \
      -print_final_stats=1 -artifact_prefix="$crashes/" "$corpus" "${inputs[@]}" </dev/null >>"$log" 2>&1 || true
    [ -z "$(ls -A "$crashes")" ] || break
  done
  last=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -1 || true)
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | awk '{ n += $1 } END { print n + 0 }')
  found=$(find "$crashes" -type f | wc -l)
  line="$t executions=$runs corpus=$(field corp) cov=$(field cov) ft=$(field ft) crashes=$found"
  echo "$line" | tee -a "$summary"
  [ "$found" -eq 0 ] && [ "$runs" -gt 0 ] || status=1
done
exit $status
