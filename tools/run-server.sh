#!/usr/bin/env bash
# Installs what is needed, builds, and starts the server. Arguments go to the
# server (for example --port 8000, or --audio-output null to play silently on a
# machine without sound; --help lists them). It builds into its own folder
# without tests, so it never switches the tests off in build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VINYLO_BUILD_DIR:-$root/build-server}
"$root/tools/install-deps.sh"
VINYLO_BUILD_DIR=$build "$root/tools/build.sh" -DVINYLO_BUILD_TESTS=OFF -DVINYLO_BUILD_BENCH=OFF
exec "$build/server/vinylo_server" "$@"
