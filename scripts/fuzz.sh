#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer with ASan and UBSan, core only) into build-fuzz/
# (or $MORVANE_FUZZ_BUILD_DIR) and runs each for a short while from its seed corpus in
# fuzz/corpus/. Exits non-zero when a target crashes or breaks one of its invariants; the
# input that did it is kept in <build>/artifacts/ and its log in <build>/logs/.
#
#   scripts/fuzz.sh [TARGET...]      all targets when none is named
#   MORVANE_FUZZ_SECONDS=300 scripts/fuzz.sh design_entry    a longer run
#
# Inputs found on the way collect in <build>/corpus/<target>/, so later runs start from them.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${MORVANE_FUZZ_BUILD_DIR:-build-fuzz}"
seconds="${MORVANE_FUZZ_SECONDS:-15}"

cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DMORVANE_FUZZ=ON >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then targets=(value_text ini_profile design_file design_entry); fi

passed=0
failed=0
mkdir -p "$build_dir/artifacts" "$build_dir/logs"
for t in "${targets[@]}"; do
  work="$build_dir/corpus/$t"
  log="$build_dir/logs/$t.log"
  mkdir -p "$work"
  # New inputs go to the first corpus folder, so fuzz/corpus/ stays as committed.
  if "$build_dir/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -dict="fuzz/dict/$t.dict" -artifact_prefix="$build_dir/artifacts/$t-" \
      -print_final_stats=1 "$work" "fuzz/corpus/$t" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz $t: ${runs:-?} runs in ${seconds} s, no finding"
    passed=$((passed + 1))
  else
    echo "fuzz $t: FAILED, the end of $log:"
    grep -a -v '^#' "$log" | tail -n 40
    failed=$((failed + 1))
  fi
done

echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
