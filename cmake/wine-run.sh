#!/bin/sh
# Emulator for ctest: runs a Windows test exe under wine in the test prefix.
#   wine-run.sh PROG.exe ARGS...   run PROG under wine, exit status passed through
#   wine-run.sh --warmup           create and configure the prefix if needed, start wineserver
#   wine-run.sh --shutdown         wineserver -k (flushes the registry, ends explorer)
#   wine-run.sh --prepare [TEMPLATE]  only create and configure the prefix, with no
#                                  server left running (scripts/test does this while
#                                  it builds); with TEMPLATE, a copy of that prepared
#                                  prefix is taken instead of a new one
: "${WINEPREFIX:=${HOME}/.wine-vak-tests}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
here=$(dirname "$(readlink -f "$0")")

# The tests delete ICQ's keys: they run only in a prefix this script created.
# It marks such a prefix with a random token, in a file beside the registry and
# in the registry itself; the test programs refuse to run without both.
marker="$WINEPREFIX/.vak-test-prefix"
markerKey='HKCU\Software\VAK Testumgebung'

mark_prefix() {
  token=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
  wine reg add "$markerKey" /v Kennung /d "$token" /f && wineserver -w && echo "$token" >"$marker"
}

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
    if [ ! -f "$WINEPREFIX/.vak-configured" ] && [ -n "${template:-}" ] && [ -f "$template/.vak-configured" ] &&
      [ ! -e "$WINEPREFIX" ]; then
      # A copy of a prepared prefix is ready at once ("cp -al" would not do:
      # the server rewrites the registry files in place).
      cp -a "$template" "$WINEPREFIX" && rm -f "$WINEPREFIX/.vak-configured" && screen_dpi && wineserver -w &&
        touch "$WINEPREFIX/.vak-configured"
    elif [ ! -f "$WINEPREFIX/.vak-configured" ]; then
      # Someone's own prefix: never configured, marked or used by the tests.
      [ -e "$WINEPREFIX/system.reg" ] && exit 3
      wineboot -i && wine regedit /S "$here/wine-test-prefix.reg" && screen_dpi && wineserver -w && mark_prefix &&
        touch "$WINEPREFIX/.vak-configured"
    elif [ ! -f "$marker" ]; then
      mark_prefix  # configured by this script before it marked prefixes
    fi
  ) 9>"$WINEPREFIX.lock" </dev/null >/dev/null 2>&1
  if [ $? -eq 3 ]; then
    echo "wine-run.sh: $WINEPREFIX is a Wine prefix the tests did not create; refusing to use it." >&2
    echo "wine-run.sh: set WINEPREFIX to a new folder (the build tree's wineprefix)." >&2
    return 1
  fi
  [ -n "${prepare_only:-}" ] && return 0
  # Start the server and its services with stdio detached; otherwise they
  # inherit ctest's pipe and every test waits for it to close.
  wineserver -p60 </dev/null >/dev/null 2>&1
  wine cmd.exe /c exit 0 </dev/null >/dev/null 2>&1
  return 0
}

case "$1" in
  --warmup) warmup; exit $? ;;
  --prepare)
    # Without a display: no server may stay up bound to none (the tests' windows
    # would then fail), so it is waited for.
    prepare_only=1 template="${2:-}" warmup; rc=$?
    wineserver -w 2>/dev/null
    exit $rc ;;
  --shutdown) wineserver -k 2>/dev/null; exit 0 ;;
esac
case "$*" in *--gtest_list_tests*) warmup || exit 1 ;; esac
exec wine "$@"
