#!/usr/bin/env bash
# Builds and runs the whole test suite on a fresh Debian machine:
# installs the packages, builds with AddressSanitizer and UndefinedBehaviorSanitizer,
# runs every GoogleTest suite through ctest, then gives each fuzz target a short smoke run.
#   tools/test.sh            everything
#   tools/test.sh -L xfile   only the tests labelled xfile (ctest arguments pass through)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
jobs=$(nproc)

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQEL_SANITIZE=ON -DQEL_TESTS=ON
cmake --build build/test -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build/test --output-on-failure -j "$jobs" "$@"

if [ $# -eq 0 ]; then
  tools/fuzz.sh smoke
fi
