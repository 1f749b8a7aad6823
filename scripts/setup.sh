#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config python3
  clang-14 libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  qt6-base-dev qt6-tools-dev qt6-tools-dev-tools designer-qt6 qt6-translations-l10n
  libxlsxwriter-dev libfreexl-dev libzip-dev qt6-charts-dev
  python3-dev pybind11-dev python3-pytest python3-matplotlib
  dpkg-dev fakeroot lintian file python3-jsonschema
  fonts-liberation fonts-dejavu-core
  xvfb xauth imagemagick
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
