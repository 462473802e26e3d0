#!/usr/bin/env bash
# Installs every Debian 12 package that building, running, testing, fuzzing and
# benchmarking Vinylo needs. Quiet and quick when everything is already there;
# runs `apt-get update` only when something is missing.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config git
  # libraries the programs link
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libmpv-dev
  libcurl4-openssl-dev
  nlohmann-json3-dev
  # a CJK font, so Chinese captions render on a bare machine
  fonts-wqy-microhei fontconfig
  # locale sources: the player test builds zh_CN.UTF-8 from them
  locales
  # tests, fuzzing and benchmarks
  libgtest-dev libgmock-dev googletest
  libbenchmark-dev
  clang libclang-rt-14-dev libfuzzer-14-dev
  ncat sox openssl
  libssl-dev zlib1g-dev  # the loopback TLS server and gzip answers of the tests
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages: ${missing[*]}" >&2
  echo "install-deps: run this script as root (or with sudo) to install them" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "install-deps: done"
