#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS on its corpus, then prints
# a line a target: executions, coverage (edges reached), corpus size and findings. Exits 1 when
# any target found a crash, a hang, a leak or a failed property; the inputs that found them are
# kept in the build folder's findings/ (copy one into tests/ with the fix).
#
#   fuzz/run.sh SECONDS [TARGET...]     (targets by short name: number, dxf_rewrite, ...)
#
# ZELVORA_FUZZ_BUILD sets the build folder (default build-fuzz/). The corpus a run grows is kept
# there, beside the seeds in fuzz/corpus/ and the sample drawings and point lists in
# tests/samples/, which are only read.
set -euo pipefail
seconds=${1:?"usage: fuzz/run.sh SECONDS [TARGET...]"}
shift
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/setup.sh"
zelvora_install_missing cmake make clang libclang-rt-14-dev

build=${ZELVORA_FUZZ_BUILD:-$root/build-fuzz}
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZELVORA_FUZZ=ON -DZELVORA_TESTS=OFF -DZELVORA_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz -j "$(nproc)" >/dev/null

targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(number angle dxf_rewrite point_export settings catalogue windows1252 ntv2_grid)

# The dictionary and the read-only seed folders of each target.
dictionary_of() {
  case $1 in
    number | angle) echo number ;;
    dxf_rewrite) echo dxf ;;
    point_export) echo points ;;
    settings | catalogue | windows1252) echo config ;;
    ntv2_grid) echo ntv2 ;;
  esac
}
seeds_of() {
  echo "$root/fuzz/corpus/$1"
  case $1 in
    dxf_rewrite) echo "$root/tests/samples/dxf" ;;
    point_export) echo "$root/tests/samples/points" ;;
  esac
}

findings=0
printf "%-14s %12s %10s %8s %9s %s\n" target executions exec/s edges corpus findings
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  found="$build/findings/$target"
  mkdir -p "$corpus" "$found"
  mapfile -t seeds < <(seeds_of "$target")
  log="$build/fuzz-$target.log"
  before=$(find "$found" -type f | wc -l)
  touch "$build/fuzz-$target.start"
  # A drawing of 64 KiB reaches every path; a run past 20 s on one input is a hang.
  "$build/bin/fuzz_$target" -max_total_time="$seconds" -max_len=65536 -timeout=20 \
    -rss_limit_mb=2048 -print_final_stats=1 -dict="$root/fuzz/dict/$(dictionary_of "$target").dict" \
    -artifact_prefix="$found/" "$corpus" "${seeds[@]}" >"$log" 2>&1 || true
  after=$(find "$found" -type f | wc -l)
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  edges=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  units=$(find "$corpus" -type f | wc -l)
  new=$((after - before))
  printf "%-14s %12s %10s %8s %9s %s\n" "$target" "${runs:-?}" "${speed:-?}" "${edges:-?}" \
    "$units" "$new"
  if [ "$new" -gt 0 ]; then
    findings=$((findings + new))
    grep -E -m 3 'ERROR|property failed|runtime error|SUMMARY' "$log" | sed 's/^/    /'
    find "$found" -type f -newer "$build/fuzz-$target.start" | sed 's/^/    input: /' | head -3
  fi
done
if [ "$findings" -gt 0 ]; then
  echo "$findings finding(s); logs in $build/fuzz-*.log"
  exit 1
fi
