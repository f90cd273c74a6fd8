#!/usr/bin/env bash
# Installs what is missing, builds the program (and its helpers) only,
# not the tests or benchmarks, and starts the island.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/install-deps.sh"
"$here/build.sh" pavlet pavlet-gl-probe pavlet-fetch pavlet-secret pavlet-pick pavlet-sound
exec "$here/../build/pavlet" "$@"
