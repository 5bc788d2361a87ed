#!/usr/bin/env bash
# Builds the demo (optimised) and runs it in a working directory holding the assets.
# Arguments go to the platform's entry point, e.g. tools/demo.sh --windowed
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQEL_TESTS=OFF
cmake --build build/release -j "$(nproc)"
if [ ! -x build/release/app/demo ]; then
  echo "The demo program is not built yet; the libraries built fine." >&2
  exit 0
fi
run=build/run
mkdir -p "$run"
cp -f assets/* "$run"/
cd "$run"
exec ../release/app/demo "$@"
