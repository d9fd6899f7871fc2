# Sourced by the scripts that drive the program under Xvfb: a scratch folder, the
# processes started there (stopped and the folder removed on exit), and waiting.
work=$(mktemp -d)
pids=()
stop() {  # pid...: asks, and after 2 s insists (openbox may miss a first TERM)
  local pid
  for pid in "$@"; do kill "$pid" 2>/dev/null; done
  for pid in "$@"; do
    for _ in $(seq 1 40); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
}
cleanup() {
  stop "${pids[@]}"
  rm -rf "$work"
}
trap cleanup EXIT

# Waits until CONDITION (a command) succeeds, for at most 10 s.
wait_for() {
  for _ in $(seq 1 200); do "$@" && return 0; sleep 0.05; done
  return 1
}
