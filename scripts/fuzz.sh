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

if [ ${#targets[@]} = 0 ]; then
  for seeds in fuzz/corpus/*/; do targets+=("$(basename "$seeds")"); done
fi
# One target: its status goes to a file of its own, since targets run side by side.
fuzz_one() {
  local name=$1 status=0
  # New inputs go to a corpus under build/: the committed seeds stay as they are.
  local work=build/fuzz/corpus/$name
  mkdir -p "$work"
  build/fuzz/fuzz_"$name" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix=build/fuzz/crashes/"$name"- "$work" fuzz/corpus/"$name" \
    >build/fuzz/"$name".log 2>&1 || status=$?
  echo "$status" >build/fuzz/"$name".status
}
# As many targets at once as there are cores: each is one process, and each keeps its time.
for name in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n || true; done
  fuzz_one "$name" &
done
wait
failed=()
for name in "${targets[@]}"; do
  log=build/fuzz/$name.log
  if [ "$(cat build/fuzz/"$name".status)" = 0 ]; then
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
