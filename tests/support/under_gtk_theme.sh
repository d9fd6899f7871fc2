#!/usr/bin/env bash
# Runs window tests under the GTK platform theme on a virtual X server: a GTK desktop
# orders a message box's buttons its own way and lets Enter press buttons and group
# boxes, which the keys of a window must still work with.
#   under_gtk_theme.sh TEST_PROGRAM GTK_THEME_PLUGIN GTEST_FILTER
# Exit 77 (a skip for CTest) when the X server or the theme is not installed.
set -u
program=$1 plugin=$2 filter=$3
missing=""
for tool in xvfb-run Xvfb xauth; do command -v "$tool" >/dev/null || missing="$missing $tool"; done
[ -e "$plugin" ] || missing="$missing $plugin (Debian package qt6-gtk-platformtheme)"
if [ -n "$missing" ]; then
  echo "SKIP: not installed:$missing"
  exit 77
fi
# Under the sanitizers, what the theme's libraries keep for the process is not ours.
suppressions=$(dirname "$0")/lsan-gtk-theme.supp
# From a display number of its own choosing: two tests started at once would both
# take the first free one, and one of them lose it.
exec xvfb-run -a -n "$((100 + RANDOM % 5000))" -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME=gtk3 \
  VARNEX_EXPECT_BUTTON_LAYOUT=gnome LSAN_OPTIONS="suppressions=$suppressions${LSAN_OPTIONS:+:$LSAN_OPTIONS}" \
  "$program" --gtest_filter="$filter"
