#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VINYLO_BUILD_DIR:-$root/build}
"$root/tools/install-deps.sh"
"$root/tools/build.sh" "$@"
ctest --test-dir "$build" -j"${VINYLO_JOBS:-2}" --output-on-failure
