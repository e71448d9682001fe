#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build, run and test Vantelo.
# Safe to run again: it only calls apt-get when a package is missing.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  fonts-noto-cjk fonts-wqy-zenhei fonts-arphic-uming fonts-liberation
  xvfb xauth
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  pxlib-dev libshp-dev gdal-bin libdbd-xbase-perl
  locales
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
