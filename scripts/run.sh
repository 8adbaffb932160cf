#!/usr/bin/env bash
# Builds quillmar and starts it with the shipped data (assets/ as the working
# directory). Installs what it needs first. Until the window lands this shows
# the command line's help.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh build
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j"$(nproc 2>/dev/null || echo 2)" --target quillmar-cli
cd assets
exec ../build/release/quillmar-cli --help
