#!/usr/bin/env bash
# Installs what is missing, builds Orvana and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANA_BUILD_TESTS=OFF -DORVANA_BUILD_BENCH=OFF
cmake --build build -j"$(nproc)"
if [ -x build/orvana/ORVA32 ]; then
  exec build/orvana/ORVA32 "$@"
fi
echo "The Orvana program (ORVA32) is not built yet: so far the libraries are, in build/orvana/."
