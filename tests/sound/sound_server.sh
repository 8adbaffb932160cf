#!/bin/sh
# The private PulseAudio server that the cue recordings play into and record:
# a null sink "cap" at 48 kHz, in the runtime folder given, where the tests'
# clients and Wine's PulseAudio driver find it (XDG_RUNTIME_DIR); a desktop's
# own server is not touched. CTest runs it as the fixture "sound_server"
# (cmake/sound_server.cmake); bench/cue_bench.sh runs it too.
# Usage: sound_server.sh start|stop RUNTIME_DIR
set -u
[ $# -eq 2 ] || { echo "usage: sound_server.sh start|stop RUNTIME_DIR" >&2; exit 2; }
XDG_RUNTIME_DIR=$2
export XDG_RUNTIME_DIR
case "$1" in
  start)
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR" || exit 1
    # A server left by a run that was cut short is replaced: each run starts
    # on a silent sink.
    pulseaudio --check 2>/dev/null && pulseaudio --kill 2>/dev/null
    pulseaudio -n --daemonize=yes --exit-idle-time=-1 -L "module-null-sink sink_name=cap rate=48000" \
      -L module-native-protocol-unix -L module-always-sink 2>/dev/null
    # The daemon answers once its socket is up; 60 s is the tests' deadline.
    i=0
    while [ $i -lt 600 ]; do
      pulseaudio --check 2>/dev/null && [ -S "$XDG_RUNTIME_DIR/pulse/native" ] && exit 0
      i=$((i + 1))
      sleep 0.1
    done
    echo "sound_server: the private PulseAudio server in $XDG_RUNTIME_DIR did not start" >&2
    exit 1
    ;;
  stop)
    pulseaudio --kill 2>/dev/null
    # The server ends on its own after the signal; its folder goes once it has.
    i=0
    while pulseaudio --check 2>/dev/null; do
      i=$((i + 1))
      [ $i -lt 600 ] || { echo "sound_server: the server in $XDG_RUNTIME_DIR did not stop" >&2; exit 1; }
      sleep 0.1
    done
    rm -rf "$XDG_RUNTIME_DIR"
    ;;
  *)
    echo "usage: sound_server.sh start|stop RUNTIME_DIR" >&2
    exit 2
    ;;
esac
