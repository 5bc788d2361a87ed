#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs them.
#   tools/fuzz.sh smoke            every target for a few seconds (what CI runs)
#   tools/fuzz.sh TARGET [SECS]    one target, for SECS seconds (default 60), corpus kept in build/fuzz-corpus/TARGET
set -euo pipefail
cd "$(dirname "$0")/.."
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQEL_FUZZ=ON -DQEL_TESTS=OFF -DQEL_SANITIZE=OFF >/dev/null
cmake --build build/fuzz -j "$(nproc)"
targets=$(find build/fuzz/fuzz -maxdepth 1 -type f -name 'fuzz_*' -perm -u+x 2>/dev/null | sort)
run_one() {  # target seconds
  local name; name=$(basename "$1")
  local corpus="build/fuzz-corpus/$name"
  mkdir -p "$corpus"
  local seeds="fuzz/seeds/${name#fuzz_}"
  local dirs=("$corpus")
  [ -d "$seeds" ] && dirs+=("$seeds")
  echo "== $name for $2 s"
  "$1" -max_total_time="$2" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 "${dirs[@]}" 2>&1 | tail -n 3
  return "${PIPESTATUS[0]}"
}
if [ "${1:-smoke}" = "smoke" ]; then
  for t in $targets; do run_one "$t" 5; done
  echo "fuzz smoke: $(echo "$targets" | grep -c . || true) targets, no crash"
else
  run_one "build/fuzz/fuzz/fuzz_$1" "${2:-60}"
fi
