#!/usr/bin/env bash
# Builds quillmar and opens its window with the shipped data (assets/ as the
# working directory: "default.txt" and "pokemon.dat" are read there and
# "result.txt" is written there). Installs what it needs first, Qt 6 and a
# Japanese font included.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh build gui
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j"$(nproc 2>/dev/null || echo 2)" --target quillmar

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "run.sh: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
  echo "        Run it from a desktop session, or under a virtual one: xvfb-run -a bash scripts/run.sh" >&2
  exit 1
fi
cd assets
exec ../build/release/quillmar
