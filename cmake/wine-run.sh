#!/bin/sh
# Emulator for ctest: runs a Windows test exe under wine in the test prefix.
#   wine-run.sh PROG.exe ARGS...   run PROG under wine, exit status passed through
#   wine-run.sh --warmup           create and configure the prefix if needed, start wineserver
#   wine-run.sh --shutdown         wineserver -k (flushes the registry, ends explorer)
: "${WINEPREFIX:=${HOME}/.wine-vak-tests}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
here=$(dirname "$(readlink -f "$0")")

# VAK_WINE_LOGPIXELS=N: the prefix's screen runs at N DPI, with a virtual
# desktop large enough for the windows at that size.
screen_dpi() {
  [ -n "${VAK_WINE_LOGPIXELS:-}" ] || return 0
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$VAK_WINE_LOGPIXELS" /f &&
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1600x1200 /f
}

warmup() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.vak-configured" ]; then
      wineboot -i && wine regedit /S "$here/wine-test-prefix.reg" && screen_dpi && wineserver -w &&
        touch "$WINEPREFIX/.vak-configured"
    fi
  ) 9>"$WINEPREFIX.lock" </dev/null >/dev/null 2>&1
  # Start the server and its services with stdio detached; otherwise they
  # inherit ctest's pipe and every test waits for it to close.
  wineserver -p60 </dev/null >/dev/null 2>&1
  wine cmd.exe /c exit 0 </dev/null >/dev/null 2>&1
  return 0
}

case "$1" in
  --warmup) warmup; exit 0 ;;
  --shutdown) wineserver -k 2>/dev/null; exit 0 ;;
esac
case "$*" in *--gtest_list_tests*) warmup ;; esac
exec wine "$@"
