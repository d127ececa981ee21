#!/usr/bin/env bash
# Installs what is missing, builds the player in Release and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DTUNVELL_TESTS=OFF >/dev/null
cmake --build build-release -j"$(nproc)" -- --no-print-directory >/dev/null
exec build-release/tunvell
