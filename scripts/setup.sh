# Sourced by the scripts: makes sure the Debian packages a build needs are there.
# As root it installs what is missing; otherwise it prints the one apt-get line to
# run and stops.
#   varnex_require_packages $VARNEX_RUN_PACKAGES extra-package...

# What scripts/run needs to build and start the editor (libjpeg-dev brings
# libjpeg-turbo on Debian and Ubuntu). Qt Charts draws the balance chart and Qt SVG
# saves it; Debian's Qt Charts package names no dependency on the OpenGL module's
# development files, which its CMake package needs, so they are named here.
VARNEX_RUN_PACKAGES="cmake g++ make qt6-base-dev qt6-base-dev-tools libgl-dev libjpeg-dev libfontconfig-dev qt6-charts-dev libqt6opengl6-dev qt6-svg-dev"
# scripts/test builds everything: the test and benchmark libraries besides, and an X
# server with a window manager, and xdotool to move its pointer, for the test that
# drags real windows (it skips when they are missing); the GTK platform theme for the
# test of the close question's buttons under a GTK desktop; python3-jsonschema checks
# varnex-check's SARIF output against the format's schema.
VARNEX_TEST_PACKAGES="$VARNEX_RUN_PACKAGES libgtest-dev libbenchmark-dev xvfb xauth openbox xdotool qt6-gtk-platformtheme python3-jsonschema"
# bench/picture-memory measures varnex-check's peak memory with GNU time.
VARNEX_BENCH_PACKAGES="$VARNEX_TEST_PACKAGES time"
# scripts/windows-package builds Qt and libjpeg for Windows from Debian's source
# packages (dpkg-dev unpacks them; nasm assembles libjpeg's SIMD code), then the
# programs with mingw-w64, and zips them; the host programs of the build need the
# packages of a run.
VARNEX_WINDOWS_PACKAGES="$VARNEX_RUN_PACKAGES ninja-build g++-mingw-w64-x86-64-posix dpkg-dev nasm zip"

varnex_missing_packages() {
  local missing="" p
  for p in "$@"; do
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
