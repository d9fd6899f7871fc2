# Sourced by the trials of the Windows package: Wine as scripts/windows-check runs it,
# in the same prefix (below build/windows), and what a trial's report needs.

wine=/usr/lib/wine/wine64  # Debian keeps wine64 out of PATH unless the wine package is there
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
export WINEPREFIX=${WINEPREFIX:-$PWD/build/windows/wine} WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="
# Arguments and file names outside ASCII reach Windows programs through the locale.
export LC_ALL=C.UTF-8
# Wine hands the environment on: the programs load only the plugins they ship with.
unset QT_QPA_PLATFORM QT_PLUGIN_PATH QT_QPA_PLATFORMTHEME

wine_prefix() {
  [ -f "$WINEPREFIX/system.reg" ] || (unset DISPLAY; "$wine" wineboot --init >/dev/null 2>&1 || true)
}
# Wine's server stays a few seconds after its last program; leave nothing running.
wine_end() { "$(dirname "$wine")/wineserver" -w 2>/dev/null || true; }

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
