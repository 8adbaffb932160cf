#!/bin/sh
# The cue timing figures of bench/README.md: the bench plan (48 cues in twelve
# countdowns of 1 s steps, silences from 0.5 s to 60 s before them, about four
# minutes) played through each backend and heard by the recording test's
# listener, which prints every onset's error against its plan with the shared
# constant removed, then the p5..p95 spread, the worst and the constant.
# Usage (from the source folder): sh bench/cue_bench.sh [linux] [windows]
#   linux:   build/release's quillmar_cue_listen and quillmar_cue_player
#   windows: build/windows' host listener and quillmar_cue_player.exe under Wine
# It starts a private PulseAudio server of its own (null sink "cap", 48 kHz;
# tests/sound/sound_server.sh, as the tests' fixture does) in a fresh runtime
# folder, and stops it at the end.
set -eu
cd "$(dirname "$0")/.."
[ $# -gt 0 ] || set -- linux windows

XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
trap 'sh tests/sound/sound_server.sh stop "$XDG_RUNTIME_DIR"' EXIT
sh tests/sound/sound_server.sh start "$XDG_RUNTIME_DIR"

for backend in "$@"; do
  echo "== $backend"
  case "$backend" in
    linux) build/release/tests/quillmar_cue_listen --report build/release/tests/quillmar_cue_player bench ;;
    windows) build/windows/host/quillmar_cue_listen --report sh tools/wine-run.sh build/windows/wine-prefix \
               build/windows/quillmar_cue_player.exe bench ;;
    *) echo "cue_bench: unknown backend $backend" >&2; exit 2 ;;
  esac
done
