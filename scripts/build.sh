#!/usr/bin/env bash
# Configures and builds everything into build/.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build" -j "$(nproc)"
