# Sourced by scripts/demo and scripts/bench: a Wine prefix with the sample ICQ
# data of scripts/make-demo-data.py.
#
# Needs: root (the source tree), WINEPREFIX; and these functions:
#   make_demo_data DATA_DIR     writes the sample data (Windows paths below $icq_dir_win)
#   prepare_prefix              creates $WINEPREFIX once, applies cmake/wine-test-prefix.reg
#   seed_icq_data DATA_DIR      ICQ's sounds, smileys and registry data afresh, checked
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
icq_dir=$WINEPREFIX/drive_c/"Program Files (x86)"/ICQLite
icq_dir_win='C:\Program Files (x86)\ICQLite'

make_demo_data() {
  rm -rf "$1"
  python3 "$root/scripts/make-demo-data.py" "$1" --icq-dir "$icq_dir_win"
}

prepare_prefix() {
  if [ ! -f "$WINEPREFIX/.vak-demo" ]; then
    printf '\033[1m==> %s\033[0m\n' "Creating the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.vak-demo"
  fi
  # No crash debugger; a virtual desktop under Xvfb (no window manager there).
  wine regedit /S "$root/cmake/wine-test-prefix.reg"
}

# The .reg file first deletes the old ICQ keys, then imports the profiles.
seed_icq_data() {
  rm -rf "$icq_dir"
  mkdir -p "$icq_dir"
  cp -r "$1/Sounds" "$1/Smileys" "$icq_dir/"
  wine regedit /S "$1/icq-demo.reg"
  check_registry
}

# The imported data as ICQ Lite (a 32-bit program) sees it.
check_registry() {
  local out
  out=$(wine reg query 'HKCU\Software\Mirabilis\ICQ\NewOwners' /s 2>/dev/null | tr -d '\r') ||
    die "sample data missing in HKCU after the import"
  grep -q 'CustomStatusList\\32' <<<"$out" || die "status entries missing after the import"
  out=$(wine reg query 'HKLM\Software\Mirabilis\ICQ\NewOwners\123456789\ICQLite' /reg:32 2>/dev/null |
        tr -d '\r') || die "sample data missing in HKLM (32-bit view) after the import"
  grep -q 'SoundFilePath' <<<"$out" || die "SoundFilePath missing after the import"
  wine reg query 'HKLM\software\mirabilis\icq\DefaultPrefs' /v 'ICQLite Version' /reg:32 \
    >/dev/null 2>&1 || die "DefaultPrefs missing after the import"
  echo "   profiles 123456789 (Anna), 23456789 (Bernd), 345678 (Clara); sounds and smileys in $icq_dir_win"
}
