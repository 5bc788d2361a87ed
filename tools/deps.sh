#!/usr/bin/env bash
# Installs the Debian packages the project builds with, and any named as arguments, skipping
# the update when all are present. Runs apt-get as root, or through sudo for a normal user.
#   tools/deps.sh [--update] [PACKAGE...]
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config       # build
  libsdl2-dev libpng-dev                  # window backend, PNG capture
  libgtest-dev libbenchmark-dev           # tests, benchmarks
  clang libclang-rt-14-dev                # libFuzzer targets
)
update=false
for a in "$@"; do
  if [ "$a" = "--update" ]; then update=true; else packages+=("$a"); fi
done
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || $update; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${packages[@]}"
fi
