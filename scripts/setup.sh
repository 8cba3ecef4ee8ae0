#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing.
# Extra package names given as arguments are installed the same way (gcovr, clang, ...).
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libbenchmark-dev
  qt6-base-dev qt6-svg-dev
  zlib1g-dev
  libjpeg62-turbo-dev
  libwmf-dev fonts-urw-base35 libemf2svg-dev
  libstb-dev libpng-dev libtiff-dev
  fonts-dejavu-core   # the default font the UI tests measure captions in
  "$@"
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
