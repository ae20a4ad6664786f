#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test with ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
cd build
ctest --output-on-failure -j"$(nproc)"
