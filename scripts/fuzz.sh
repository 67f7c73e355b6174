#!/usr/bin/env bash
# Runs the libFuzzer targets (design file reader, line list reader,
# workbook reader) side by side for a short time, from their seed corpora. Needs clang with libFuzzer
# (clang and libclang-rt-14-dev); without clang it says so and succeeds, so
# CI can call it everywhere.
#
#   bash scripts/fuzz.sh              # every target for 60 s (CI)
#   FUZZ_SECONDS=1800 bash scripts/fuzz.sh   # a longer run
#   bash scripts/fuzz.sh --build-only # builds the targets, runs nothing
#
# A finding ends that target's run and the script's status is 1; the input
# is kept as build-fuzz/fuzz/findings/<target>/crash-<hash> (replay it with
# build-fuzz/fuzz/<target> <file>) and belongs in a regression test.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
build=${FUZZ_BUILD_DIR:-build-fuzz}
build_only=0
case "${1:-}" in
  --build-only) build_only=1 ;;
  "") ;;
  *)
    echo "usage: bash scripts/fuzz.sh [--build-only]" >&2
    exit 2
    ;;
esac

if ! command -v clang++ > /dev/null || ! command -v clang > /dev/null; then
  echo "fuzz: clang is not installed; fuzzing skipped"
  exit 0
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVST_BUILD_GUI=OFF -DVST_BUILD_BENCH=OFF \
  -DVST_BUILD_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang > /dev/null
cmake --build "$build" --target design_file_fuzz design_file_fuzz_seeds line_list_fuzz workbook_fuzz -j "${FUZZ_JOBS:-2}"
[ "$build_only" = 1 ] && exit 0

# The targets run at the same time, one process each.
run() {  # target, seed corpus folder, dictionary
  local target=$1 seeds=$2 dict=$3
  local dir="$build/fuzz"
  local work="$dir/work/$target" findings="$dir/findings/$target"
  mkdir -p "$work" "$findings"
  echo "fuzz: $target for ${seconds} s"
  "$dir/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -dict="$dir/$dict" -artifact_prefix="$findings/" "$work" "$dir/$seeds" > "$dir/$target.log" 2>&1
}
report() {  # target, its exit status
  local target=$1 result=$2 dir="$build/fuzz"
  if [ "$result" -ne 0 ]; then
    echo "fuzz: $target FOUND A FAULT; see $dir/$target.log and $dir/findings/$target/"
    tail -40 "$dir/$target.log"
  fi
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$dir/$target.log" | sed "s/^/fuzz: $target /"
  return "$result"
}
run design_file_fuzz corpus design_file.dict &
design_file=$!
run line_list_fuzz line_list_corpus line_list.dict &
line_list=$!
run workbook_fuzz workbook_corpus workbook.dict &
workbook=$!
status=0
wait "$design_file" && design_file_status=0 || design_file_status=$?
wait "$line_list" && line_list_status=0 || line_list_status=$?
wait "$workbook" && workbook_status=0 || workbook_status=$?
report design_file_fuzz "$design_file_status" || status=1
report line_list_fuzz "$line_list_status" || status=1
report workbook_fuzz "$workbook_status" || status=1
exit $status
