#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, running and testing need, but
# only those that are missing (apt is skipped when everything is there).
# With --windows also what the Windows cross-build and its tests under Wine
# need, and Qt for Windows unpacked into build-windows/ (from the archive in
# ../shared/qt6-mingw, or the one VORNAK_QT_MINGW_ARCHIVE names).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
windows=0
if [ "${1:-}" = "--windows" ]; then windows=1; fi

packages=(
  cmake g++ clang libclang-rt-14-dev make pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev
  xvfb xauth
  # The Wayland check: a headless Weston and Qt's Wayland backend.
  weston qt6-wayland
  desktop-file-utils appstream lintian
  libmount-dev mount e2fsprogs
  # Splits on file systems that share a copy's blocks with its source.
  btrfs-progs xfsprogs
  # The Windows build: mingw-w64 cross compilers, and Wine to run its tests.
  g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64
)
if [ "$windows" = 1 ]; then
  packages+=(g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 fonts-wine nsis xdotool)
fi

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

if [ "$windows" = 1 ]; then
  qt_name=qt-6.4.2-mingw-w64-x86_64
  archive="${VORNAK_QT_MINGW_ARCHIVE:-$root/../shared/qt6-mingw/$qt_name.tar.xz}"
  if [ ! -f "$root/build-windows/$qt_name/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
    echo "Unpacking $archive into build-windows/"
    mkdir -p "$root/build-windows"
    tar -C "$root/build-windows" -xJf "$archive"
  fi
fi
