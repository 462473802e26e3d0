#!/usr/bin/env bash
# Configures and builds Vinylo into build/ (or the folder given as $VINYLO_BUILD_DIR).
# Extra arguments go to the CMake configure step, e.g. -DVINYLO_SANITIZE=ON.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VINYLO_BUILD_DIR:-$root/build}
generator=()
if [ ! -f "$build/CMakeCache.txt" ] && command -v ninja >/dev/null; then
  generator=(-G Ninja)
fi
cmake -S "$root" -B "$build" "${generator[@]}" "$@" >/dev/null
cmake --build "$build" -j"${VINYLO_JOBS:-2}"
