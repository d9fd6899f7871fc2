# Sourced by scripts/run and scripts/test (after scripts/setup.sh): the program as users
# build and install it.
#   varnex_build_program          builds preset "run" as the README's steps do: each
#                                 source file compiled on its own, no unity batches
#   varnex_try_installed_program  installs that build into build/installed as the
#                                 README's install step does, and starts it there on
#                                 the sample under a virtual X server

varnex_build_program() {
  cmake --preset run >/dev/null
  cmake --build --preset run -j "$(varnex_jobs)"
}

# The main window's X window name, as the window manager and xdotool see it.
VARNEX_MAIN_WINDOW="Quarnel.txt Editor 1.04l"

# Run inside the X server: starts the installed program in its folder, waits for the
# main window (the splash comes first, for five seconds) and ends the program.
varnex_window_comes_up() {  # folder
  local folder=$1 pid window="" status waited
  (cd "$folder" && exec ./varnex) &
  pid=$!
  for ((waited = 0; waited < 60; waited++)); do
    window=$(xdotool search --onlyvisible --name "^$VARNEX_MAIN_WINDOW" 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 1
  done
  if [ -z "$window" ] || ! kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" && status=0 || status=$?
    echo "The installed program showed no window \"$VARNEX_MAIN_WINDOW\" (after $waited s, exit status $status)." >&2
    return 1
  fi
  echo "The installed program's main window is up after $waited s: window $window, \"$(xdotool getwindowname "$window")\""
  kill -TERM "$pid"
  wait "$pid" || true
}

varnex_try_installed_program() {
  local folder=$PWD/build/installed start=$SECONDS
  rm -rf "$folder"
  echo "Installing build/run into $folder as the README says"
  cmake --install build/run --prefix "$folder" --strip >/dev/null
  mkdir -p "$folder/data"
  cp sample/data/* "$folder/data/"
  cp sample/VarnexMaps/*.jpg "$folder/VarnexMaps/"
  "$folder/varnex-check" --quiet "$folder"
  # xvfb-run is a POSIX shell script, which passes no exported bash function on.
  # From a display number of its own choosing: two tests started at once would both
  # take the first free one, and one of them lose it.
  xvfb-run -a -n "$((100 + RANDOM % 5000))" -s "-screen 0 1280x1024x24" bash -c "$(declare -p VARNEX_MAIN_WINDOW; declare -f varnex_window_comes_up)
    varnex_window_comes_up \"\$1\"" bash "$folder"
  "$folder/uninstall-varnex" >/dev/null
  local left
  left=$(cd "$folder" && find . ! -path './data*' ! -path './VarnexMaps/*.jpg' ! -name . ! -name VarnexMaps)
  if [ -n "$left" ]; then
    echo "uninstall-varnex left files of the program in $folder:" $left >&2
    return 1
  fi
  echo "installed program: $((SECONDS - start)) s"
}
