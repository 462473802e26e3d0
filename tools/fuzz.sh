#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (in build-fuzz/) and runs
# each for the given number of seconds (default 60). Findings land in
# fuzz-artifacts/; the corpus grows in build-fuzz/corpus/<target>.
#   tools/fuzz.sh [seconds] [target ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
build=$root/build-fuzz
"$root/tools/install-deps.sh"
CC=clang CXX=clang++ VINYLO_BUILD_DIR=$build "$root/tools/build.sh" \
  -DVINYLO_FUZZ=ON -DVINYLO_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(find "$build/tests/fuzz" -maxdepth 1 -type f -name '*_fuzz' -printf '%f\n' | sort)
fi
mkdir -p "$root/fuzz-artifacts"
for t in "${targets[@]}"; do
  corpus=$build/corpus/$t
  mkdir -p "$corpus"
  cp -n "$root/tests/fuzz/corpus/$t"/* "$corpus"/ 2>/dev/null || true
  echo "== $t for ${seconds}s"
  QT_QPA_PLATFORM=offscreen "$build/tests/fuzz/$t" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$root/fuzz-artifacts/$t-" "$corpus" 2>&1 | grep -E '^(#|stat::|==|SUMMARY|INFO: seed)' | tail -n 12
done
