#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that quillmar needs, only when missing.
# Usage: scripts/install-deps.sh GROUP...   groups: build gui
set -euo pipefail

packages_for() {
  case "$1" in
    build) echo "cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev" ;;
    gui) echo "qt6-base-dev fonts-ipafont-gothic xdg-utils" ;;
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
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
$sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
