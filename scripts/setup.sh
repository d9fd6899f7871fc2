# Sourced by scripts/run and scripts/test: makes sure the Debian packages the build
# needs are there. As root it installs what is missing; otherwise it prints the one
# apt-get line to run and stops.

VARNEX_PACKAGES="cmake g++ make qt6-base-dev qt6-base-dev-tools libgl-dev libjpeg62-turbo-dev libgtest-dev libbenchmark-dev"

varnex_missing_packages() {
  local missing="" p
  for p in $VARNEX_PACKAGES "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
  echo "$missing"
}

varnex_require_packages() {
  local missing
  missing=$(varnex_missing_packages "$@")
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" = 0 ]; then
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq && apt-get install -y -qq --no-install-recommends $missing >/dev/null || {
      echo "apt-get could not install:$missing" >&2; exit 1; }
  else
    echo "Missing Debian packages. Run this once, then try again:" >&2
    echo "  sudo apt-get install -y --no-install-recommends$missing" >&2
    exit 1
  fi
}

varnex_jobs() { nproc 2>/dev/null || echo 2; }
