#!/bin/sh
# Runs a Windows executable under 64-bit Wine for CTest (the cross build's
# CMAKE_CROSSCOMPILING_EMULATOR).
# Usage: wine-run.sh PREFIX_DIR PROGRAM.exe [ARGS...]
# - The Wine prefix lives in PREFIX_DIR (inside the build folder) and is created
#   once, under the same Japanese locale as the runs: Wine takes its ANSI code
#   page (932) and the charset of its menu and dialog fonts from it.
# - Runs are serialised by a lock: every run ends with `wineserver -k`, which
#   would otherwise kill a run beside it.
# - Wine's helper processes inherit stdout and stderr and can outlive the
#   program, which would keep CTest waiting on its pipes: the program's output
#   goes to a file that is printed once wineserver is gone.
# - The program is stopped after QUILLMAR_WINE_TIMEOUT seconds (default 600),
#   so that what it printed until then is still shown.
# - QUILLMAR_WINE_LANG (default ja_JP.UTF-8) is the locale of the program's
#   run only, the prefix being always made under the Japanese one: C.UTF-8
#   gives Wine an English ANSI code page (1252).
# The program's exit code is returned (124 after the time limit).
set -u
prefix=$1
shift
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)

export WINEPREFIX="$prefix/wine"
export WINEARCH=win64
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"

exec 9>"$prefix/run.lock"
flock 9

log=$(mktemp "$prefix/run.XXXXXX")
if [ ! -f "$prefix/ready-2" ]; then
  rm -rf "$WINEPREFIX"
  wineboot -i >"$log" 2>&1
  # Windows are not handed to an X window manager (there is none under
  # xvfb-run): Wine draws their captions itself, and closing a window does not
  # wait for a manager's answer that never comes.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >>"$log" 2>&1
  # ".txt" opens with Notepad, as on Windows (Wine's fresh prefix has the
  # txtfile class but does not map the extension to it).
  wine reg add 'HKLM\Software\Classes\.txt' /ve /d txtfile /f >>"$log" 2>&1
  wineserver -w
  : >"$log"
  touch "$prefix/ready-2"
fi

# The DPI test sets HKCU\Control Panel\Desktop\LogPixels for runs of its own
# and back to 96; one stopped in between would leave the prefix at its DPI.
if awk '/^\[Control Panel\\\\Desktop\]/ { d = 1; next } /^\[/ { d = 0 } d && /^"LogPixels"=/' \
    "$WINEPREFIX/user.reg" 2>/dev/null | grep -qv 'dword:00000060'; then
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >"$log" 2>&1
  wineserver -w
  : >"$log"
fi
run_lang=${QUILLMAR_WINE_LANG:-ja_JP.UTF-8}
LANG=$run_lang LC_ALL=$run_lang timeout -k 5 "${QUILLMAR_WINE_TIMEOUT:-600}" wine "$@" >"$log" 2>&1 </dev/null
rc=$?
[ $rc -eq 124 ] && echo "wine-run: stopped after ${QUILLMAR_WINE_TIMEOUT:-600} s" >>"$log"
wineserver -k >/dev/null 2>&1
wineserver -w >/dev/null 2>&1
cat "$log"
rm -f "$log"
exit $rc
