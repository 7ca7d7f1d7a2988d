#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, but
# only those that are missing (apt is skipped when everything is there).
set -euo pipefail

packages=(
  cmake g++ clang libclang-rt-14-dev make pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev
  xvfb xauth
  desktop-file-utils appstream lintian
  libmount-dev mount e2fsprogs
  # The Windows build: mingw-w64 cross compilers, and Wine to run its tests.
  g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
