#!/usr/bin/env bash
# Builds quillmar and runs every test: once normally (with the Debian package
# made and checked), once under ASan+UBSan, the threads' tests under
# ThreadSanitizer, the Windows cross build under Wine, and each fuzz target for
# 15 seconds.
# Installs what it needs first. Build folders: build/release, build/asan, build/tsan,
# build/windows, build/fuzz.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh build gui package tsan sound
bash scripts/install-deps.sh windows
bash scripts/install-deps.sh fuzz

jobs=$(nproc 2>/dev/null || echo 2)

# The Qt window tests run without a display, with a private runtime folder.
export QT_QPA_PLATFORM=offscreen
XDG_RUNTIME_DIR=$(mktemp -d)  # created 0700
export XDG_RUNTIME_DIR
ctest_log=$(mktemp)
trap 'rm -rf "$XDG_RUNTIME_DIR" "$ctest_log"' EXIT

# The tests that hear the cues (tests/sound/) start and stop their private
# PulseAudio server themselves, as a CTest fixture (cmake/sound_server.cmake),
# in each build folder's ctest run.

# Every CTest stage's output is also kept, to add up the counts at the end.
run_ctest() { ctest "$@" 2>&1 | tee -a "$ctest_log"; }

echo "== release build and tests, the Debian package and its checks"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMAR_PACKAGE_TESTS=ON
cmake --build build/release -j"$jobs"
run_ctest --test-dir build/release --output-on-failure -j"$jobs"

echo "== ASan+UBSan build and tests"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLMAR_SANITIZE=ON -DQUILLMAR_BENCH=OFF
cmake --build build/asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_ctest --test-dir build/asan --output-on-failure -j"$jobs"

echo "== ThreadSanitizer build and the threads' tests"
# The engine stopped at random rows on 2 to 4 threads and the window's search
# job started, stopped, restarted and closed mid-search; any report fails them.
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMAR_TSAN=ON -DQUILLMAR_QT=OFF \
  -DQUILLMAR_BENCH=OFF
cmake --build build/tsan -j"$jobs" --target quillmar_thread_tests
TSAN_OPTIONS=halt_on_error=1 run_ctest --test-dir build/tsan --output-on-failure -j"$jobs"

echo "== Windows cross build (mingw-w64) and tests under Wine"
cmake -S . -B build/windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake"
cmake --build build/windows -j"$jobs"
xvfb-run -a ctest --test-dir build/windows --output-on-failure 2>&1 | tee -a "$ctest_log"

echo "== fuzz targets (clang, libFuzzer + ASan + UBSan), 15 s each"
if command -v clang++ >/dev/null 2>&1; then
  bash scripts/fuzz.sh -t 15
else
  echo "clang++ not found: fuzz targets skipped"
fi

# One closing line over all CTest stages (a failing stage has stopped the script already).
total=0
failed=0
while read -r f t; do
  failed=$((failed + f))
  total=$((total + t))
done < <(sed -n 's/.*tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\1 \2/p' "$ctest_log")
echo "summary: $((total - failed)) passed, $failed failed"
