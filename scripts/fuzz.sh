#!/usr/bin/env bash
# Runs the libFuzzer targets for a given time each and reports executions, corpus size and
# findings. Usage: scripts/fuzz.sh SECONDS [TARGET ...]   (all targets without names)
# The working corpus grows in build-fuzz/corpus/TARGET, seeded from fuzz/corpus/TARGET; a crash,
# hang, leak or sanitizer report is saved as build-fuzz/artifacts/TARGET-* and makes the
# script fail. New inputs worth keeping can be copied into fuzz/corpus/TARGET by hand.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET ...]}
shift
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(sed -n 's/^velmo_fuzz_target(\([a-z_]*\).*/\1/p' fuzz/CMakeLists.txt)
fi
cmake --preset fuzz >/dev/null
mkdir -p build-fuzz/artifacts
failed=0
printf '%-16s %8s %12s %8s %s\n' target seconds executions corpus result
for t in "${targets[@]}"; do
  cmake --build --preset "fuzz-$t" >/dev/null
  mkdir -p "build-fuzz/corpus/$t"
  log="build-fuzz/fuzz-$t.log"
  if ASAN_OPTIONS=detect_leaks=1 "build-fuzz/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$t-" \
       "build-fuzz/corpus/$t" "fuzz/corpus/$t" >"$log" 2>&1; then
    result=clean
  else
    result="FAILED (see $log)"
    failed=1
  fi
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  corpus=$(find "build-fuzz/corpus/$t" -type f | wc -l)
  printf '%-16s %8s %12s %8s %s\n' "$t" "$seconds" "${execs:-?}" "$corpus" "$result"
done
exit $failed
