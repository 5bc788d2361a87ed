#!/usr/bin/env bash
# Measures the software device beside Mesa's llvmpipe on the same frame (the gl-anchor program
# in ../shared/bench/gl-anchor), in alternating rounds: the speed of a shared machine drifts
# from minute to minute, so only a side-by-side run counts.
#   tools/bench.sh [ROUNDS]    three rounds unless told
# Prints each round's medians (ms per frame), then the median of the rounds and our ratios.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-3}
[[ "$rounds" =~ ^[1-9][0-9]*$ ]] || { echo "usage: tools/bench.sh [ROUNDS]" >&2; exit 2; }
anchor=../shared/bench/gl-anchor/gl_anchor.c
[ -f "$anchor" ] || { echo "tools/bench.sh: $anchor not found (../shared sits beside the clone)" >&2; exit 1; }

tools/deps.sh gcc libegl-dev libgl1-mesa-dri  # with the anchor's own packages

cmake -S . -B build/perf-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQEL_BENCH=ON -DQEL_TESTS=OFF \
  -DCMAKE_CXX_FLAGS= >/dev/null
cmake --build build/perf-release --target bench_device >/dev/null
mkdir -p build/gl-anchor
gcc -O2 -std=c99 -o build/gl-anchor/gl_anchor "$anchor" -lEGL -lpng -ldl -lm

ours() { build/perf-release/bench/bench_device 2>/dev/null | awk '/_median/ { print $2 }'; }
llvmpipe() {  # $1: thread count
  LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe LP_NUM_THREADS="$1" build/gl-anchor/gl_anchor 2>/dev/null |
    awk '/^RESULT readback/ { for (i = 1; i <= NF; i++) if ($i ~ /^median_ms=/) { sub("median_ms=", "", $i); print $i } }'
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

a=() b=() c=()
for ((r = 1; r <= rounds; r++)); do
  a+=("$(ours)") b+=("$(llvmpipe 2)") c+=("$(llvmpipe 1)")
  for v in "${a[-1]}" "${b[-1]}" "${c[-1]}"; do
    [ -n "$v" ] || { echo "tools/bench.sh: a program gave no median (is the Mesa driver installed?)" >&2; exit 1; }
  done
  printf 'round %d: bench_device %s ms, llvmpipe 2 threads %s ms, llvmpipe 1 thread %s ms\n' \
    "$r" "${a[-1]}" "${b[-1]}" "${c[-1]}"
done
ma=$(printf '%s\n' "${a[@]}" | median)
mb=$(printf '%s\n' "${b[@]}" | median)
mc=$(printf '%s\n' "${c[@]}" | median)
awk -v a="$ma" -v b="$mb" -v c="$mc" 'BEGIN {
  printf "median of %s: bench_device %.2f ms; llvmpipe 2 threads %.2f ms (ours %.2f of it), 1 thread %.2f ms (ours %.2f of it)\n",
         "the rounds", a, b, a / b, c, a / c }'
