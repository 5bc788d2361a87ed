#!/usr/bin/env bash
# Compares two builds of bench_device on the same frame. On a shared machine the speed drifts
# from minute to minute, so the two run at the same time, one on each of two processors, and
# swap processors every round; each round compares their fastest repetitions (`_min`).
#   tools/bench-ab.sh A B [ROUNDS]    A and B: bench_device executables; ten rounds unless told
# Prints each round's ratio B/A, then the median ratio and both programs' best times.
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: tools/bench-ab.sh A B [ROUNDS]" >&2; exit 2; }
a=$1 b=$2 rounds=${3:-10}
[[ "$rounds" =~ ^[1-9][0-9]*$ ]] || { echo "usage: tools/bench-ab.sh A B [ROUNDS]" >&2; exit 2; }
for p in "$a" "$b"; do [ -x "$p" ] || { echo "tools/bench-ab.sh: $p is not an executable" >&2; exit 1; }; done
[ "$(nproc)" -ge 2 ] || { echo "tools/bench-ab.sh: needs two processors" >&2; exit 1; }

best() {  # $1: processor, $2: program; prints the _min time in ms
  taskset -c "$1" "$2" --benchmark_filter=SyntheticFrame 2>/dev/null | awk '/_min/ { print $2 }'
}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
ratios=() besta="" bestb=""
for ((r = 1; r <= rounds; r++)); do
  ca=$((r % 2)) cb=$(((r + 1) % 2))
  best "$ca" "$a" >"$out/a" &
  best "$cb" "$b" >"$out/b" &
  wait
  ta=$(cat "$out/a") tb=$(cat "$out/b")
  [ -n "$ta" ] && [ -n "$tb" ] || { echo "tools/bench-ab.sh: a program gave no _min line" >&2; exit 1; }
  ratio=$(awk -v a="$ta" -v b="$tb" 'BEGIN { printf "%.3f", b / a }')
  ratios+=("$ratio")
  besta=$(awk -v x="$ta" -v y="${besta:-$ta}" 'BEGIN { print (x < y) ? x : y }')
  bestb=$(awk -v x="$tb" -v y="${bestb:-$tb}" 'BEGIN { print (x < y) ? x : y }')
  printf 'round %d: A %s ms, B %s ms, B/A %s\n' "$r" "$ta" "$tb" "$ratio"
done
median=$(printf '%s\n' "${ratios[@]}" | sort -g |
  awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
printf 'median B/A %s; best A %s ms, best B %s ms\n' "$median" "$besta" "$bestb"
