#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer) and runs each
# for a bounded time: scripts/fuzz.sh [seconds per target, default 20] [target...], every target
# when none is named. Fails when any target finds a crash, a leak or a hang; the input that did it
# is saved in build/fuzz/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true
targets=("$@")
scripts/setup-debian.sh

cmake -S fuzz -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build build/fuzz
mkdir -p build/fuzz/crashes
symbolizer=/usr/lib/llvm-14/bin/llvm-symbolizer
if [ -x "$symbolizer" ]; then export ASAN_SYMBOLIZER_PATH=$symbolizer; fi

failed=()
if [ ${#targets[@]} = 0 ]; then
  for seeds in fuzz/corpus/*/; do targets+=("$(basename "$seeds")"); done
fi
for name in "${targets[@]}"; do
  seeds=fuzz/corpus/$name
  # New inputs go to a corpus under build/: the committed seeds stay as they are.
  work=build/fuzz/corpus/$name
  log=build/fuzz/$name.log
  mkdir -p "$work"
  if build/fuzz/fuzz_"$name" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
       -artifact_prefix=build/fuzz/crashes/"$name"- "$work" "$seeds" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz_$name: $runs runs in $seconds s, no crash"
  else
    tail -n 40 "$log"
    failed+=("$name")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found faults in: ${failed[*]} (logs in build/fuzz/, inputs in build/fuzz/crashes/)"
  exit 1
fi
