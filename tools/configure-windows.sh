#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures a cross-build for 64-bit Windows in the given folder (default
# build-windows): mingw-w64 compilers with the runtime linked statically,
# GoogleTest built from /usr/src/googletest, tests run by CTest under Wine in
# a prefix inside the build folder. Without Qt it builds the logic libraries
# and their tests only (VORNAK_BUILD_UI=OFF); further arguments go to cmake,
# so a build with the windows adds Qt's toolchain file, for instance:
#   tools/configure-windows.sh build-windows -DVORNAK_BUILD_UI=ON \
#     -DCMAKE_TOOLCHAIN_FILE=$qt/lib/cmake/Qt6/qt.toolchain.cmake \
#     -DQT_CHAINLOAD_TOOLCHAIN_FILE=$PWD/cmake/mingw-w64-x86_64.cmake \
#     -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
# Then: cmake --build <folder> -j2 && ctest --test-dir <folder>
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-windows}"
[ $# -gt 0 ] && shift
toolchain=(-DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake")
for arg in "$@"; do
  case "$arg" in -DCMAKE_TOOLCHAIN_FILE=*) toolchain=() ;; esac
done
cmake -S . -B "$build" "${toolchain[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORNAK_BUILD_UI=OFF \
  -DVORNAK_BUILD_BENCH=OFF "$@"
