#!/usr/bin/env bash
# Configures and builds into build/: the targets named, or everything (every
# test and benchmark included) when none is named.
#   scripts/build.sh                  # everything
#   scripts/build.sh pavlet           # the program and what it needs
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$top/build" -j "$(nproc)" "${targets[@]}"
