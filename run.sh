#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds in Release and starts Vornak.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DVORNAK_BUILD_TESTS=OFF -DVORNAK_BUILD_BENCH=OFF
cmake --build build-release -j"$(nproc)"
exec ./build-release/src/app/vornak "$@"
