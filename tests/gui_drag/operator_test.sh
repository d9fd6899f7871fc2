#!/usr/bin/env bash
# The program as an operator runs it, on a virtual X server with real keys (XTest,
# through xdotool) and a real clipboard (xclip): after every box and dialog the keyboard
# is back in the window that asked, so the next key acts there; and a window opened from
# another one opens wholly on the screen, with the keyboard.
#
#   operator_test.sh PROGRAM SAMPLE openbox   Xvfb with the openbox window manager
#   operator_test.sh PROGRAM SAMPLE bare      Xvfb alone
#
# Exit 77 (a skip for CTest) when a tool it needs is not installed.
set -u

program=$1 sample=$2 mode=$3

if [ "${4:-}" != --inside ]; then
  missing=""
  for tool in xvfb-run Xvfb xauth xdotool xclip xprop xwininfo; do
    command -v "$tool" >/dev/null || missing="$missing $tool"
  done
  [ "$mode" = openbox ] && ! command -v openbox >/dev/null && missing="$missing openbox"
  if [ -n "$missing" ]; then
    echo "SKIP: not installed:$missing (Debian packages xvfb, xauth, xdotool, xclip, x11-utils, openbox)"
    exit 77
  fi
  # From a display number of its own choosing: two tests started at once would both
  # take the first free one, and one of them lose it.
  exec xvfb-run -a -n "$((100 + RANDOM % 5000))" -s "-screen 0 1280x1024x24" bash "$0" "$program" "$sample" "$mode" --inside
fi

export QT_QPA_PLATFORM=xcb
. "$(dirname "$0")/../support/x_session.sh"

if [ "$mode" = openbox ]; then
  XDG_CACHE_HOME=$work openbox --startup "touch $work/wm-ready" >"$work/openbox.log" 2>&1 &
  pids+=($!)
  wait_for test -e "$work/wm-ready" || { echo "FAIL: openbox did not start"; exit 1; }
fi

# Staged as the program is run: its folder is the working folder, with the tables and maps.
mkdir -p "$work/folder/data" "$work/folder/VarnexMaps"
cp "$sample/data/monster.txt" "$sample/data/Quarnel.txt" "$work/folder/data/"
cp "$sample"/VarnexMaps/*.jpg "$work/folder/VarnexMaps/"
cp "$program" "$work/folder/varnex"
(cd "$work/folder" && exec ./varnex) >"$work/program.log" 2>&1 &
pids+=($!)

failures=0
check() {  # NAME CONDITION...
  local name=$1
  shift
  if wait_for "$@"; then
    echo "ok   $name"
  else
    echo "FAIL $name (the keyboard is in \"$(xdotool getwindowname "$(xdotool getwindowfocus 2>/dev/null)" 2>/dev/null)\")"
    failures=$((failures + 1))
  fi
}

named() {  # the visible window whose name starts so
  xdotool search --onlyvisible --name "^$1" 2>/dev/null | head -n 1
}
keyboard_in() {  # NAME: the keyboard is in the window whose name starts so
  local focus name
  focus=$(xdotool getwindowfocus 2>/dev/null) || return 1
  name=$(xdotool getwindowname "$focus" 2>/dev/null)
  [ "${name#"$1"}" != "$name" ]
}
# Checked again on every try of wait_for, so a window slow to come (or go) is waited for.
shown() { [ -n "$(named "$1")" ]; }
gone() { [ -z "$(named "$1")" ]; }
box_shown() { [ -n "$(named 'Varnex v1.4.8$')" ]; }
no_box() { [ -z "$(named 'Varnex v1.4.8$')" ]; }
wholly_on_screen() {  # NAME: the window, its manager's frame included, lies on the 1280x1024 screen
  local window X Y WIDTH HEIGHT SCREEN extents left=0 right=0 top=0 bottom=0
  window=$(named "$1")
  [ -n "$window" ] || return 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
  extents=$(xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ' ')
  [ -n "$extents" ] && IFS=, read -r left right top bottom <<<"$extents"
  (( X - left >= 0 && Y - top >= 0 && X + WIDTH + right <= 1280 && Y + HEIGHT + bottom <= 1024 ))
}
above() {  # UPPER LOWER: the window named UPPER lies above the one named LOWER
  local upper lower order
  upper=$(named "$1") lower=$(named "$2")
  [ -n "$upper" ] && [ -n "$lower" ] || return 1
  if [ "$mode" = openbox ]; then  # the manager's list, bottom to top
    order=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,/ /g')
    order=$(for id in $order; do printf '%d\n' "$id"; done)
  else  # the server's, top to bottom as xwininfo lists it, turned round
    order=$(xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p' | tac | while read -r id; do printf '%d\n' "$id"; done)
  fi
  local at_upper at_lower
  at_upper=$(grep -n -x "$upper" <<<"$order" | cut -d: -f1)
  at_lower=$(grep -n -x "$lower" <<<"$order" | cut -d: -f1)
  [ -n "$at_upper" ] && [ -n "$at_lower" ] && (( at_upper > at_lower ))
}
monster_file_saved() { ! cmp -s "$sample/data/monster.txt" "$work/folder/data/monster.txt"; }

main_title="Quarnel.txt Editor"
for _ in $(seq 1 120); do [ -n "$(named "$main_title")" ] && break; sleep 0.5; done
[ -n "$(named "$main_title")" ] || { echo "FAIL: no main window"; cat "$work/program.log"; exit 1; }
sleep 0.5
xdotool windowactivate "$(named "$main_title")" 2>/dev/null || xdotool windowfocus "$(named "$main_title")"
check "the main window has the keyboard" keyboard_in "$main_title"

# In the edit state of "Monster Stats", Ctrl+T first asks about the typed values;
# Escape (Cancel) keeps the edit state and opens nothing.
table="Monster Table"
xdotool key F2 ctrl+t
check "Ctrl+T in the edit state asks first" box_shown
xdotool key Escape
check "Escape answers Cancel" no_box
check "the keyboard is back in the main window after the question" keyboard_in "$main_title"
check "and no monster table opened" gone "$table"
xdotool key Escape  # out of the edit state

xdotool key ctrl+t
check "Ctrl+T opens the monster table, with the keyboard" keyboard_in "$table"

# A refused paste, Return, the same paste: the second box comes as the first did.
printf x | xclip -selection clipboard
xdotool key ctrl+v
check "a refused paste shows a box" box_shown
xdotool key Return
check "Return closes the box" no_box
check "the keyboard is back in the monster table" keyboard_in "$table"
xdotool key ctrl+v
check "the same paste again shows the box again" box_shown
xdotool key Return
check "Return closes it again" no_box

# "Change..." on three cells, Apply, Ctrl+S: the monster table is saved, not the spawn file.
xdotool key shift+Down shift+Down ctrl+e
check "Ctrl+E opens the Change dialog" shown 'Change 3 cells'
xdotool type 120
xdotool key Return
check "Apply closes the dialog" gone 'Change 3 cells'
check "the keyboard is back in the monster table after Apply" keyboard_in "$table"
xdotool key ctrl+s
check "Ctrl+S then saves data/monster.txt" monster_file_saved
check "the spawn file is left alone" cmp -s "$sample/data/Quarnel.txt" "$work/folder/data/Quarnel.txt"

# The add-location dialog stays above the other windows; the history opened from it
# comes above it, and the key list first opened from the map overview lies on the screen
# (the main window shows its larger page, so the key list first opens low on it).
main=$(named "$main_title")
xdotool key Escape  # out of the monster table, which stays open behind
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + 120)) $((Y + 41)) click 1  # the "Monster Position" tab
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + 450)) $((Y + 545)) click 1  # "AddSpot window"
check "the add-location dialog opens with the keyboard" keyboard_in "Add Monster Location"
xdotool key ctrl+h
check "Ctrl+H there opens the history with the keyboard" keyboard_in "History"
check "the history lies above the dialog" above "History" "Add Monster Location"
check "the history lies wholly on the screen, from the dialog" wholly_on_screen "History"
xdotool key Escape
check "the keyboard is back in the dialog after the history" keyboard_in "Add Monster Location"
xdotool key Escape
check "Escape in the dialog hands the keyboard to the main window" keyboard_in "$main_title"
xdotool key ctrl+m
check "Ctrl+M opens the map overview with the keyboard" keyboard_in "Map Overview"
xdotool key F1
check "F1 there opens the key list with the keyboard" keyboard_in "Keys"
check "the key list lies above the overview" above "Keys" "Map Overview"
check "the key list lies wholly on the screen, from the overview" wholly_on_screen "Keys"
xdotool key Escape
check "the keyboard is back in the overview after the key list" keyboard_in "Map Overview"

# Back in the monster table (Ctrl+T brings it up again): F1 and Ctrl+H from there.
xdotool key Escape  # the overview closes; the keyboard goes to the main window
check "Escape in the overview hands the keyboard to the main window" keyboard_in "$main_title"
xdotool key ctrl+t
check "Ctrl+T brings the monster table up again, with the keyboard" keyboard_in "$table"
# F1 from the monster table: the key list opens wholly on the screen, with the keyboard;
# Escape closes it, and the keyboard goes back.
xdotool key F1
check "F1 opens the key list with the keyboard" keyboard_in "Keys"
check "the key list lies wholly on the screen" wholly_on_screen "Keys"
xdotool key Escape
check "Escape closes the key list" gone 'Keys'
check "the keyboard is back in the monster table after the key list" keyboard_in "$table"

# Ctrl+H from there: the history, wholly on the screen, with the keyboard.
xdotool key ctrl+h
check "Ctrl+H opens the history with the keyboard" keyboard_in "History"
check "the history lies wholly on the screen" wholly_on_screen "History"
xdotool key Escape
check "the keyboard is back in the monster table after the history" keyboard_in "$table"

# The review of the save: Ctrl+Shift+D from the monster table opens it with the keyboard.
# A click on a window brings it over the others (without a window manager the windows
# do it themselves): the main window over the review, then the review over it.
review="Review of the save"
click_clear_of() {  # WINDOW OTHER...: a click into WINDOW where no OTHER, frame included, is
  local window X Y WIDTH HEIGHT SCREEN x y x0 y0 x1 y1 other box clear
  local -a boxes=()
  for other in "${@:2}"; do
    window=$(named "$other")
    [ -n "$window" ] || continue
    eval "$(xdotool getwindowgeometry --shell "$window")"
    boxes+=("$((X - 30)) $((Y - 40)) $((X + WIDTH + 30)) $((Y + HEIGHT + 30))")
  done
  window=$(named "$1")
  [ -n "$window" ] || return 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
  # Below a title strip, which would take the press for a move.
  for x in $((X + 12)) $((X + WIDTH / 2)) $((X + WIDTH - 12)); do
    for y in $((Y + 40)) $((Y + HEIGHT / 2)) $((Y + HEIGHT - 12)); do
      clear=1
      for box in "${boxes[@]}"; do
        read -r x0 y0 x1 y1 <<<"$box"
        (( x < x0 || x >= x1 || y < y0 || y >= y1 )) || clear=0
      done
      if (( clear )); then
        xdotool mousemove "$x" "$y" sleep 0.2 click 1
        return 0
      fi
    done
  done
  echo "no point of $1 lies clear of the other windows"
  return 1
}
xdotool key ctrl+shift+d
check "Ctrl+Shift+D opens the review of the save with the keyboard" keyboard_in "$review"
click_clear_of "$main_title" "$review" "$table"
check "a click on the main window brings it over the review" above "$main_title" "$review"
click_clear_of "$review" "$main_title" "$table"
check "a click on the review brings it over the main window" above "$review" "$main_title"
xdotool key Escape
check "Escape closes the review" gone "$review"
# The balance chart comes up above the monster table when Ctrl+G asks for it again and
# when it is clicked, with a window manager or without one.
chart="Balance"
xdotool key ctrl+g
check "Ctrl+G in the monster table opens the balance chart" shown "$chart"
xdotool windowmove "$(named "$chart")" 0 0
xdotool windowmove "$(named "$table")" 500 200
xdotool windowraise "$(named "$table")"
check "the monster table raised lies above the chart" above "$table" "$chart"
xdotool windowfocus "$(named "$table")"
check "the monster table has the keyboard again" keyboard_in "$table"
xdotool key ctrl+g
check "Ctrl+G again brings the chart above the table" above "$chart" "$table"
xdotool windowraise "$(named "$table")"
check "the table raised again lies above the chart" above "$table" "$chart"
eval "$(xdotool getwindowgeometry --shell "$(named "$chart")")"
xdotool mousemove $((X + 20)) $((Y + 300)) click 1  # the chart's left edge, beside the table
check "a click on the chart brings it above the table" above "$chart" "$table"

echo "$failures checks failed ($mode)"
[ "$failures" -eq 0 ]
