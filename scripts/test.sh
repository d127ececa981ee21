#!/usr/bin/env bash
# Installs what is missing, builds the player with its tests and runs them all.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-tests -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUNVELL_TESTS=ON >/dev/null
cmake --build build-tests -j"$(nproc)" -- --no-print-directory >/dev/null
ctest --test-dir build-tests --output-on-failure -j"$(nproc)"
