#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that quillmar needs, only when missing.
# Usage: scripts/install-deps.sh GROUP...   groups: build gui windows fuzz package tsan sound
set -euo pipefail

packages_for() {
  case "$1" in
    build) echo "cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev" ;;
    # libpulse-dev: the timer's cues (PulseAudio's asynchronous API, in libpulse0).
    gui) echo "qt6-base-dev libpulse-dev fonts-ipafont-gothic xdg-utils xvfb xauth" ;;
    # Tests only: the private PulseAudio server whose null sink the cue tests
    # record (scripts/test.sh starts it). Wine's PulseAudio driver comes with
    # wine itself (libwine, which depends on libpulse0).
    sound) echo "pulseaudio libpulse-dev" ;;
    # Cross-build with mingw-w64 (the posix variant: it has std::thread) and run
    # under 64-bit Wine. Never wine32: with it installed, /usr/bin/wine takes the
    # 32-bit loader and 64-bit exes fail too.
    # libpulse-dev: the cue listener, a host program that hears the Windows cues.
    windows) echo "g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth fonts-ipafont-gothic locales libpulse-dev" ;;
    # clang with its libFuzzer runtime for the fuzz targets (scripts/fuzz.sh).
    fuzz) echo "clang libclang-rt-dev" ;;
    # g++'s ThreadSanitizer runtime for the threads' tests (scripts/test.sh).
    tsan) echo "g++ libtsan2 cmake ninja-build libgtest-dev" ;;
    # The Debian package: its manual page (help2man), dependencies (dpkg-shlibdeps,
    # which CPack finds executables for with file) and its checks
    # (scripts/check-deb.sh: lintian, the validators, the window under Xvfb).
    package) echo "help2man dpkg-dev file lintian appstream desktop-file-utils xvfb xauth xdotool" ;;
    *) echo "install-deps: unknown group '$1'" >&2; exit 2 ;;
  esac
}

wanted=()
for group in "$@"; do
  for p in $(packages_for "$group"); do wanted+=("$p"); done
done

missing=()
for p in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
  $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
fi

# Wine takes its ANSI code page (932) and its Japanese menu and dialog fonts
# from the locale, so the Windows tests run under ja_JP.UTF-8.
for group in "$@"; do
  if [ "$group" = windows ] && ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
    $sudo sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    $sudo locale-gen >/dev/null
  fi
done
