#!/usr/bin/env bash
# Installs every Debian package Kestrune needs to build, run, test and benchmark.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

PACKAGES=(
  # build
  cmake ninja-build g++ make pkg-config
  # engine, probe, encoder library, settings
  libflac-dev libsox-dev libmp3lame-dev libsimpleini-dev
  # user interface
  qt6-base-dev qt6-svg-dev libgl-dev
  # tests and checks
  libgtest-dev libgmock-dev libmpg123-dev
  # benchmarks: the peers we compare with
  libbenchmark-dev flac sox lame ffmpeg
  # screenshots of the windows
  xvfb xauth
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=()
if [ "$(id -u)" -ne 0 ]; then
  SUDO=(sudo)
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
