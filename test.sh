#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs every test three times: once in a
# plain build, once under AddressSanitizer and UndefinedBehaviorSanitizer (that
# pass also fuzzes each harness for a short fixed time in a clang build of its
# own), and once cross-built for Windows under Wine (on Xvfb), followed by the
# Windows installer installed and used under Wine. Exits non-zero on any
# failure.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVORNAK_SANITIZE=ON -DVORNAK_BUILD_BENCH=OFF
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

# The fuzz harnesses: their corpus again, then VORNAK_FUZZ_SECONDS of fuzzing
# each. A crash is left in build-fuzz/tests/fuzz/ and belongs in the corpus.
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DVORNAK_FUZZ=ON \
  -DVORNAK_BUILD_UI=OFF -DVORNAK_BUILD_BENCH=OFF -DVORNAK_FUZZ_SECONDS=15
cmake --build build-fuzz -j"$jobs" --target vornak_fuzzers
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-fuzz --output-on-failure -j"$jobs"

# The Windows pass. Wine keeps its prefix (its C: drive and registry) in the
# build folder; the first start creates it.
tools/setup.sh --windows
cmake --preset windows
cmake --build --preset windows -j"$jobs"
export WINEPREFIX="$PWD/build-windows/wine" WINEDEBUG=-all
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c "tools/wine-prefix.sh && ctest --preset windows -j$jobs"
(cd build-windows && cpack >/dev/null)
xvfb-run -a -s "-screen 0 1280x1024x24" tools/windows-install-check.sh build-windows/vornak-*-windows-x86_64.exe
