#!/usr/bin/env bash
# Checks the Debian package as a player's system would see it.
# Usage: scripts/check-deb.sh CHECK DEB VERSION SOURCE_DIR
#   contents    control fields, dependencies and the exact file list; LICENSE
#               and THIRD_PARTY_NOTICES identical to the sources'
#   lint        lintian (no errors), desktop-file-validate, appstreamcli validate --no-net
#   install     unpacked with dpkg -x into a temporary root: quillmar-cli --version,
#               a species lookup in the installed data, the bash completion
#   window      unpacked the same way, the window started as the desktop entry's
#               Exec line starts it, under Xvfb with a temporary HOME and
#               XDG_DATA_HOME: it fills its folder, works there and writes
#               result.txt there when "出力" is clicked
# Each check prints what it found and exits non-zero on the first fault.
set -euo pipefail

check=$1
deb=$2
version=$3
src=$4

fail() {
  echo "check-deb $check: FAIL: $*" >&2
  exit 1
}
ok() { echo "check-deb $check: $*"; }

[ -f "$deb" ] || fail "no package at $deb"
[ "$(basename "$deb")" = "quillmar_${version}_amd64.deb" ] || fail "file name $(basename "$deb")"

work=$(mktemp -d)
cleanup() {
  # The window and anything it started are ended by their process ids.
  if [ -n "${window_pid:-}" ]; then kill "$window_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

unpack() {
  root=$work/root
  mkdir -p "$root"
  dpkg -x "$deb" "$root"
}

# The files of the package, directories left out, in `dpkg-deb -c` order.
expected_files() {
  printf '%s\n' \
    usr/bin/quillmar \
    usr/bin/quillmar-cli \
    usr/share/applications/io.github.quillmar.quillmar.desktop \
    usr/share/bash-completion/completions/quillmar-cli \
    usr/share/doc/quillmar/LICENSE \
    usr/share/doc/quillmar/THIRD_PARTY_NOTICES \
    usr/share/doc/quillmar/changelog.gz \
    usr/share/doc/quillmar/copyright \
    usr/share/icons/hicolor/scalable/apps/quillmar.svg \
    usr/share/man/man1/quillmar-cli.1.gz \
    usr/share/man/man1/quillmar.1.gz \
    usr/share/metainfo/io.github.quillmar.quillmar.metainfo.xml \
    usr/share/quillmar/default.txt \
    usr/share/quillmar/pokemon.dat
  for size in 16 24 32 48 64 128 256; do
    echo "usr/share/icons/hicolor/${size}x${size}/apps/quillmar.png"
  done
}

check_contents() {
  [ "$(dpkg-deb -f "$deb" Package)" = quillmar ] || fail "Package is $(dpkg-deb -f "$deb" Package)"
  [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version is $(dpkg-deb -f "$deb" Version)"
  [ "$(dpkg-deb -f "$deb" Architecture)" = amd64 ] || fail "Architecture is $(dpkg-deb -f "$deb" Architecture)"
  local depends
  depends=$(dpkg-deb -f "$deb" Depends)
  for wanted in 'libqt6widgets6' 'libpulse0' 'fonts-ipafont-gothic | fonts-japanese-gothic' 'xdg-utils'; do
    case ", $depends," in
      *", $wanted"[,\ ]*) ;;
      *) fail "Depends lacks '$wanted': $depends" ;;
    esac
  done
  ok "quillmar $version amd64, Depends: $depends"

  dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort >"$work/files"
  expected_files | sort >"$work/expected"
  if ! diff -u "$work/expected" "$work/files"; then fail "the file list differs (- expected, + packed)"; fi
  ok "$(wc -l <"$work/files") files as expected"

  unpack
  for f in LICENSE THIRD_PARTY_NOTICES; do
    cmp -s "$src/$f" "$root/usr/share/doc/quillmar/$f" || fail "usr/share/doc/quillmar/$f differs from $f"
  done
  for f in pokemon.dat default.txt; do
    cmp -s "$src/assets/$f" "$root/usr/share/quillmar/$f" || fail "usr/share/quillmar/$f differs from assets/$f"
  done
  ok "LICENSE, THIRD_PARTY_NOTICES and the data files are the sources' own"
}

check_lint() {
  unpack
  desktop-file-validate "$root/usr/share/applications/io.github.quillmar.quillmar.desktop" ||
    fail "desktop-file-validate"
  ok "desktop-file-validate passed"
  appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.quillmar.quillmar.metainfo.xml" ||
    fail "appstreamcli validate"
  # lintian exits non-zero on error tags; warnings are shown.
  lintian --fail-on error "$deb" || fail "lintian reported errors"
  ok "lintian: no errors"
}

check_install() {
  unpack
  local got
  got=$("$root/usr/bin/quillmar-cli" --version)
  [ "$got" = "quillmar-cli $version" ] || fail "--version printed '$got'"
  ok "$got"
  # Pikachu's 4th-generation base stats, from the installed species file.
  got=$("$root/usr/bin/quillmar-cli" species ピカチュウ --dir "$root/usr/share/quillmar")
  [ "$got" = "35,55,30,90,50,40" ] || fail "species ピカチュウ printed '$got'"
  ok "species ピカチュウ from /usr/share/quillmar: $got"

  # The completion offers every subcommand the program lists, and each
  # subcommand's own options.
  local completion=$root/usr/share/bash-completion/completions/quillmar-cli
  local listed offered
  listed=$("$root/usr/bin/quillmar-cli" --help | sed -n '/^subcommands:/,/^$/s/^  \([a-z][a-z-]*\) .*/\1/p' | sort)
  [ -n "$listed" ] || fail "no subcommand in --help"
  offered=$(PATH=$root/usr/bin:$PATH bash -c '
    source "$1"
    COMP_WORDS=(quillmar-cli ""); COMP_CWORD=1; _quillmar_cli
    printf "%s\n" "${COMPREPLY[@]}"' _ "$completion" | { grep -v '^--' || true; } | sort)
  [ "$listed" = "$offered" ] || fail "completion offers [$offered] for subcommands [$listed]"
  offered=$(PATH=$root/usr/bin:$PATH bash -c '
    source "$1"
    COMP_WORDS=(quillmar-cli eggs --marriage --sh); COMP_CWORD=3; _quillmar_cli
    printf "%s\n" "${COMPREPLY[@]}"' _ "$completion")
  [ "$offered" = "--shiny-only" ] || fail "completion of 'eggs --sh' offers [$offered]"
  ok "bash completion: $(echo "$listed" | wc -l) subcommands, eggs --sh -> --shiny-only"
}

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
  local seconds=$1
  shift
  local end=$((SECONDS + seconds))
  until "$@"; do
    [ $SECONDS -lt $end ] || return 1
    sleep 0.2
  done
}

check_window() {
  command -v xvfb-run >/dev/null || fail "xvfb-run not found"
  command -v xdotool >/dev/null || fail "xdotool not found"
  unpack
  if [ -z "${QUILLMAR_CHECK_DEB_UNDER_X:-}" ]; then
    # Again under a virtual display of its own; at most two minutes in all.
    QUILLMAR_CHECK_DEB_UNDER_X=1 timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" \
      bash "$0" window "$deb" "$version" "$src"
    return
  fi

  local home=$work/home
  local data=$work/home/.xdg-data
  local fakebin=$work/fakebin
  mkdir -p "$home" "$fakebin" "$work/runtime"
  chmod 700 "$work/runtime"
  # The desktop's opener is replaced by one that writes down what it was asked to open.
  printf '#!/bin/sh\nprintf "%%s\\n" "$*" >> "%s/opened"\n' "$work" >"$fakebin/xdg-open"
  chmod +x "$fakebin/xdg-open"

  # The command as the menu runs it: the Exec line, field codes dropped, in
  # the home folder, with the package's bin folder on the PATH.
  local exec_line
  exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/io.github.quillmar.quillmar.desktop" |
    sed 's/ *%[fFuUick]//g')
  [ "$exec_line" = quillmar ] || fail "Exec line is '$exec_line'"
  (
    cd "$home"
    exec env -u QT_QPA_PLATFORM HOME="$home" XDG_DATA_HOME="$data" XDG_RUNTIME_DIR="$work/runtime" \
      PATH="$root/usr/bin:$fakebin:$PATH" $exec_line
  ) >"$work/window.log" 2>&1 &
  window_pid=$!

  local folder=$data/quillmar
  local wid=""
  find_window() { wid=$(xdotool search --pid "$window_pid" --name '^quillmar$' 2>/dev/null | head -1) && [ -n "$wid" ]; }
  wait_for 30 find_window || fail "no window titled quillmar within 30 s: $(cat "$work/window.log")"
  ok "window $wid is up"

  for f in pokemon.dat default.txt; do
    cmp -s "$root/usr/share/quillmar/$f" "$folder/$f" || fail "$folder/$f is not the shipped $f"
  done
  [ "$(readlink "/proc/$window_pid/cwd")" = "$folder" ] ||
    fail "the window works in $(readlink "/proc/$window_pid/cwd"), not $folder"
  ok "it made $folder, copied pokemon.dat and default.txt there and works there"

  # Steps 3-4 from the menu, then step 4's initial seed and IDs and "出力".
  # Positions are the window's own (800 x 600 client area below a menu bar).
  local bar=$(($(xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p') - 600))
  # The keys go to the menu only once its popup is up, and the clicks after
  # them to the screen only once it has closed: wait for each (the window's
  # events are taken in order, so nothing else needs waiting for).
  windows_shown() { [ "$(xdotool search --onlyvisible --pid "$window_pid" 2>/dev/null | wc -l)" -eq "$1" ]; }
  xdotool mousemove --window "$wid" 30 $((bar / 2)) click 1
  wait_for 30 windows_shown 2 || fail "the menu did not open within 30 s"
  xdotool key --window "$wid" Down Down Return
  wait_for 30 windows_shown 1 || fail "the menu did not close within 30 s"
  xdotool mousemove --window "$wid" 550 $((bar + 38)) click 1 type --delay 20 0x12345678
  xdotool mousemove --window "$wid" 483 $((bar + 63)) click 1 type --delay 20 12345
  xdotool mousemove --window "$wid" 588 $((bar + 63)) click 1 type --delay 20 54321
  xdotool mousemove --window "$wid" 555 $((bar + 241)) click 1

  opened() { [ -s "$work/opened" ]; }
  wait_for 30 opened || fail "nothing was handed to xdg-open within 30 s"
  [ "$(cat "$work/opened")" = "file://$folder/result.txt" ] || fail "xdg-open was asked for $(cat "$work/opened")"
  [ ! -e "$home/result.txt" ] || fail "result.txt was written into the home folder"
  "$root/usr/bin/quillmar-cli" eggs --seed 0x12345678 --tid 12345 --sid 54321 --out "$work/expected.txt" >/dev/null
  cmp -s "$work/expected.txt" "$folder/result.txt" ||
    fail "$folder/result.txt differs from quillmar-cli eggs --seed 0x12345678 --tid 12345 --sid 54321"
  ok "result.txt ($(wc -l <"$folder/result.txt") lines) written into $folder, as quillmar-cli writes it, and opened"
  if command -v import >/dev/null && [ -n "${QUILLMAR_CHECK_DEB_SCREENSHOT:-}" ]; then
    import -window root "$QUILLMAR_CHECK_DEB_SCREENSHOT" || true
  fi
}

case $check in
  contents) check_contents ;;
  lint) check_lint ;;
  install) check_install ;;
  window) check_window ;;
  *) fail "unknown check (contents, lint, install, window)" ;;
esac
