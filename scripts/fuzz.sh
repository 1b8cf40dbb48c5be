#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, ASan and UBSan, and runs every
# target for the given number of seconds (default 60), all at once and at low
# priority. Each target grows a working corpus in the build folder, seeded from
# fuzz/corpus/<target>; an input that breaks a property or crashes is kept as
# a file under <build>/fuzz-runs/<target>/crashes. Prints executions and
# crashes per target; the exit status is 1 when any target crashed.
#
#   QUILL_FUZZ_BUILD_DIR  build folder (default: build-fuzz)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
build_dir=${QUILL_FUZZ_BUILD_DIR:-build-fuzz}
targets=(AnswerParser IpconfigReport IniText SntpReply TextFilter CameraPattern)

CC=clang-14 CXX=clang++-14 cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILL_FUZZ=ON -DQUILL_BUILD_TESTS=OFF -DQUILL_BUILD_BENCH=OFF >/dev/null
nice -n 10 cmake --build "$build_dir" -j2 --target "${targets[@]/#/fuzz_}"

for name in "${targets[@]}"; do
  run="$build_dir/fuzz-runs/$name"
  mkdir -p "$run/corpus" "$run/crashes"
  # libFuzzer ends itself after -max_total_time; timeout only bounds a hang.
  timeout $((seconds + 120)) nice -n 10 "$build_dir/fuzz/fuzz_$name" \
    -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=1024 \
    -artifact_prefix="$run/crashes/" "$run/corpus" "fuzz/corpus/$name" >"$run/log" 2>&1 &
done
wait

status=0
printf '%-16s %12s %8s\n' target executions crashes
for name in "${targets[@]}"; do
  run="$build_dir/fuzz-runs/$name"
  executions=$(grep -ao 'number_of_executed_units: *[0-9]*' "$run/log" | grep -o '[0-9]*$' || echo '?')
  crashes=$(find "$run/crashes" -type f | wc -l)
  printf '%-16s %12s %8s\n' "$name" "$executions" "$crashes"
  if [ "$crashes" -gt 0 ]; then
    status=1
    find "$run/crashes" -type f -printf '  %p\n'
  fi
done
exit $status
