#!/usr/bin/env bash
# Inside a virtual X server with a window manager: starts the editor in a folder, waits
# for the splash and the main window, then, from the keyboard, deletes the first point
# spot of the first monster and saves the spawn file: Ctrl+Tab to "Monster Position",
# Tab to the point list, Space to choose its first spot, Tab to "Delete Spot", Space,
# Ctrl+S. Screenshots go to <shots>-splash.png, -main.png and -saved.png.
#   drive_editor.sh <folder> <shots> <program> [argument...]
# With DRIVE_CHART=yes, Ctrl+G then opens the balance chart, which must come up
# (<shots>-chart.png).
# Exit status 0 once the save has made a backup or changed the file, or a message box
# showed (and the chart came, when asked for); 1 when a step did not come. With DRIVE_ANSWER=yes a question the save asks is
# answered Yes (Alt+Y; its screenshot is <shots>-asked.png) and the save must then
# change the file.
set -u
folder=$1 shots=$2
shift 2
before=$(cksum <"$folder/data/Quarnel.txt")

openbox >/dev/null 2>&1 &
window_manager=$!
(cd "$folder" && exec "$@") >"$shots.log" 2>&1 &
program=$!
finish() {
  kill "$program" 2>/dev/null
  wait "$program" 2>/dev/null
  kill "$window_manager" 2>/dev/null
  wait "$window_manager" 2>/dev/null
}
trap finish EXIT

# Waits for a condition, at most $1 tenths of a second; Wine's first start in a fresh
# prefix is slow, and nothing here measures speed.
until_ready() {
  local tenths=$1
  shift
  for _ in $(seq 1 "$tenths"); do
    "$@" && return 0
    kill -0 "$program" 2>/dev/null || { echo "the program ended early" >&2; return 1; }
    sleep 0.1
  done
  echo "did not come: $*" >&2
  return 1
}
# Names as X has them (WM_NAME, which drops what Latin-1 cannot hold); classes are
# varnex on Linux, varnex.exe under Wine.
visible() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
shown() { xdotool search --onlyvisible --class varnex >/dev/null 2>&1; }
changed() { [ "$(cksum <"$folder/data/Quarnel.txt")" != "$before" ]; }
saved() { compgen -G "$folder/data/Quarnel.txt.~*~" >/dev/null || changed; }
# A message box is captioned with the program's name (with its version on Windows).
box_or_saved() { saved || visible '^Varnex'; }

until_ready 1200 shown || exit 1
sleep 1
import -window root "$shots-splash.png"
until_ready 1200 visible 'Quarnel.txt Editor' || exit 1
sleep 2
import -window root "$shots-main.png"
main=$(xdotool search --onlyvisible --name 'Quarnel.txt Editor' | head -n 1)
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main" 2>/dev/null
sleep 0.5
step() { xdotool key "$1"; sleep "${2:-0.5}"; }
step ctrl+Tab 1.5
for _ in 1 2 3 4 5 6; do step Tab 0.3; done
step space 1
step Tab 0.3
step space 1.5
step ctrl+s 0.5
until_ready 600 box_or_saved || { import -window root "$shots-failed.png"; exit 1; }
if [ "${DRIVE_ANSWER:-}" = yes ] && ! saved; then
  sleep 1
  import -window root "$shots-asked.png"
  step alt+y 0.5
  until_ready 600 changed || { import -window root "$shots-failed.png"; exit 1; }
fi
sleep 1
import -window root "$shots-saved.png"
if [ "${DRIVE_CHART:-}" = yes ]; then
  # Its title holds a dash that X's Latin-1 name drops: found by its start.
  xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main" 2>/dev/null
  step ctrl+g 1
  until_ready 600 visible '^Balance' || { import -window root "$shots-failed.png"; exit 1; }
  sleep 2
  import -window root "$shots-chart.png"
fi
