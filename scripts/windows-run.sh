#!/usr/bin/env bash
# Runs one Windows program under Wine: windows-run.sh program.exe [args...]
# The 64-bit loader is called directly (the `wine` launcher picks a 32-bit loader when one is
# installed, which cannot run on every host). Settings, all optional:
#   WINEPREFIX       the Wine prefix; default: "wineprefix" in the build folder that holds
#                    the program (the folder with CMakeCache.txt), made on first use
#   WINE_TIMEOUT     seconds before the program is stopped (default 300)
# Without a DISPLAY, the program runs in its own Xvfb server.
set -euo pipefail

[ $# -ge 1 ] || { echo "usage: $0 program.exe [args...] | --setup" >&2; exit 2; }

wine_loader() {
  local candidate
  for candidate in /usr/lib/wine/wine64 /usr/lib64/wine/wine64 "$(command -v wine64 || true)"; do
    [ -n "$candidate" ] && [ -x "$candidate" ] && { echo "$candidate"; return; }
  done
  command -v wine || { echo "Wine is not installed (apt-get install wine wine64)" >&2; exit 1; }
}

build_dir_of() {
  local dir
  dir=$(cd "$(dirname "$1")" && pwd)
  while [ "$dir" != / ]; do
    [ -f "$dir/CMakeCache.txt" ] && { echo "$dir"; return; }
    dir=$(dirname "$dir")
  done
  echo "${TMPDIR:-/tmp}"
}

WINE=$(wine_loader)
export WINELOADER=$WINE
export WINEDEBUG=${WINEDEBUG:--all}
[ "$1" = --setup ] && [ -z "${WINEPREFIX:-}" ] && { echo "--setup needs WINEPREFIX" >&2; exit 2; }
export WINEPREFIX=${WINEPREFIX:-$(build_dir_of "$1")/wineprefix}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
timeout_seconds=${WINE_TIMEOUT:-300}

# A new prefix is set up once; a lock keeps parallel test runs from doing it twice.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      timeout 300 "$WINE" wineboot -i >/dev/null 2>&1 || true
      # Windows Wine leaves to an X window manager wait up to seconds for one to answer each
      # time they are shown or hidden; under Xvfb there is none, so Wine manages them itself.
      timeout 60 "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        >/dev/null 2>&1 || true
      # The registry reaches the disk when the wineserver ends.
      timeout 120 wineserver -w || true
    fi
  ) 9>"$WINEPREFIX.lock"
fi

# --setup: only make the prefix, and wait until Wine has finished with it, so the next
# program starts a fresh wineserver on whatever display it is given.
if [ "$1" = --setup ]; then
  [ -f "$WINEPREFIX/system.reg" ] || { echo "Wine could not set up $WINEPREFIX" >&2; exit 1; }
  timeout 120 wineserver -w
  exit
fi

# An X server of its own lives only as long as this program, so Wine has to be finished
# with it (wineserver -w) before it goes; the next program then starts Wine afresh.
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
  exec timeout --kill-after=10 "$timeout_seconds" xvfb-run -a sh -c \
    '"$0" "$@"; status=$?; timeout 60 wineserver -w; exit $status' "$WINE" "$@"
fi
exec timeout --kill-after=10 "$timeout_seconds" "$WINE" "$@"
