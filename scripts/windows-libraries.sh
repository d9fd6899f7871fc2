# Sourced by scripts/windows-package and scripts/windows-trial: Qt and libjpeg for
# 64-bit Windows, built with mingw-w64 from Debian's source packages of the versions
# this machine has installed, and kept in $VARNEX_CACHE between builds and clones.
#   varnex_windows_libraries     builds what is not cached yet; sets VARNEX_WINDOWS_QT
#                                and VARNEX_WINDOWS_JPEG to their install folders
#   varnex_windows_cached        sets them and succeeds only when both are built
#   varnex_windows_modules       builds Qt SVG and Qt Charts into Qt's folder from
#                                their source packages, where apt can fetch them;
#                                varnex_windows_balance then says whether both are there

VARNEX_CACHE=${XDG_CACHE_HOME:-$HOME/.cache}/varnex
VARNEX_MINGW=x86_64-w64-mingw32
varnex_toolchain=$PWD/cmake/mingw-w64-qt.cmake

# Qt's base modules, shared libraries, with what the editor uses and nothing it does
# not: no SQL, network, OpenGL, D-Bus, printing, concurrent, XML or test library.
# Tablet events need the Wintab headers, which Debian's source leaves out; dynamic
# OpenGL must go with OpenGL for the Windows plugin to compile. The third-party
# libraries are Qt's own copies, since Debian has no mingw-w64 builds of them; JPEG
# pictures are read through libjpeg below, so Qt's JPEG plugin is left out.
varnex_qt_options=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF
  -DFEATURE_vulkan=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_testlib=OFF
  -DFEATURE_tabletevent=OFF -DFEATURE_jpeg=OFF -DFEATURE_zstd=OFF -DFEATURE_icu=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_freetype=OFF
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF
  -DFEATURE_system_doubleconversion=OFF
)
# Qt's modules beside its base that the balance chart needs (Qt Charts draws it, Qt
# SVG saves it), from the source packages of the same version, built against the base
# above and installed into its folder; each is marked there by varnex-<module>.txt.
varnex_qt_module_options=(
  -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
)
varnex_qt_modules=("qt6-svg qt6-svg-dev svg" "qt6-charts qt6-charts-dev charts")
# libjpeg linked into the programs, with its SIMD code (nasm).
varnex_jpeg_options=(
  -DCMAKE_BUILD_TYPE=Release -DENABLE_SHARED=OFF -DENABLE_STATIC=ON
  -DWITH_TURBOJPEG=OFF -DREQUIRE_SIMD=ON
)

# Debian's source package and version behind an installed binary package.
varnex_source_of() { dpkg-query -W -f="\${source:$2}" "$1"; }

# What a build depends on besides its options: the source version, the compiler, and
# the toolchain files' settings (their comments aside).
varnex_build_hash() {
  {
    printf '%s\n' "$@"
    "$VARNEX_MINGW-g++-posix" -dumpfullversion -dumpmachine
    grep -hv '^[[:space:]]*#' "$PWD/cmake/mingw-w64.cmake" "$varnex_toolchain"
  } | sha256sum | cut -c1-12
}

varnex_windows_folders() {
  local qt_version jpeg_version
  qt_version=$(varnex_source_of qt6-base-dev Version)
  jpeg_version=$(varnex_source_of libjpeg-dev Version)
  varnex_qt_upstream=${qt_version#*:}
  varnex_qt_upstream=${varnex_qt_upstream%%[+-]*}
  varnex_jpeg_upstream=${jpeg_version#*:}
  varnex_jpeg_upstream=${varnex_jpeg_upstream%%[+-]*}
  VARNEX_WINDOWS_QT=$VARNEX_CACHE/qt-$varnex_qt_upstream-$(varnex_build_hash "$qt_version" "${varnex_qt_options[@]}")
  VARNEX_WINDOWS_JPEG=$VARNEX_CACHE/libjpeg-turbo-$varnex_jpeg_upstream-$(varnex_build_hash "$jpeg_version" "${varnex_jpeg_options[@]}")
}

varnex_windows_cached() {
  varnex_windows_folders
  [ -f "$VARNEX_WINDOWS_QT/varnex-build.txt" ] && [ -f "$VARNEX_WINDOWS_JPEG/varnex-build.txt" ]
}

# deb-src entries for the suites of the machine's own Debian (or Ubuntu) archive
# entries: one-line entries and deb822 stanzas that name the release's code name.
varnex_deb_src_entries() {
  local codename file
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || return 0
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    awk -v RS= -v ORS='\n\n' -v suite="$codename" '
      /(^|\n)Types:[^\n]*deb/ && $0 ~ ("\nSuites:[^\n]*" suite) {
        sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$file" >>"$1.sources"
  done
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    sed -n "s/^deb \(.* $codename[[:space:]].*\)/deb-src \1/p" "$file" >>"$1.list"
  done
}

varnex_has_source() {
  apt-cache showsrc --only-source "$1" 2>/dev/null | grep -qx "Version: $2"
}

# Unpacks Debian's source package $1 at version $2 below $VARNEX_CACHE/src and prints
# its folder. apt needs deb-src entries for that; as root they are added for the
# suites the machine uses already.
varnex_debian_source() {
  local package=$1 version=$2 dest=$VARNEX_CACHE/src/$1_${2#*:}
  if [ ! -f "$dest.unpacked" ]; then
    if ! varnex_has_source "$package" "$version"; then
      local entries=/etc/apt/sources.list.d/varnex-deb-src
      if [ "$(id -u)" != 0 ]; then
        echo "apt knows no source package $package $version: add a deb-src line for your" >&2
        echo "Debian suite to the apt sources, run apt-get update, then try again." >&2
        exit 1
      fi
      rm -f "$entries.sources" "$entries.list"
      varnex_deb_src_entries "$entries"
      for f in "$entries.sources" "$entries.list"; do [ -s "$f" ] || rm -f "$f"; done
      echo "windows-package: added deb-src entries for Debian's source packages ($entries.*)" >&2
      apt-get update -qq >/dev/null
      varnex_has_source "$package" "$version" || {
        echo "apt still knows no source package $package $version" >&2; exit 1; }
    fi
    rm -rf "$dest" "$dest.unpacked"
    mkdir -p "$dest"
    (cd "$dest" && apt-get source -qq --only-source "$package=$version") >"$dest.log" 2>&1 || {
      cat "$dest.log" >&2; exit 1; }
    touch "$dest.unpacked"
  fi
  find "$dest" -mindepth 1 -maxdepth 1 -type d
}

# cmake configure, build and install of one library, logged to $VARNEX_CACHE/<name>.log;
# the install folder is complete once it holds varnex-build.txt.
varnex_build_library() {
  local name=$1 source=$2 prefix=$3 what=$4; shift 4
  local work=$VARNEX_CACHE/work/$name log=$VARNEX_CACHE/$name.log
  echo "windows-package: building $what for Windows; log: $log"
  rm -rf "$prefix"
  mkdir -p "$work"
  {
    cmake -G Ninja -S "$source" -B "$work" -DCMAKE_TOOLCHAIN_FILE="$varnex_toolchain" \
      -DCMAKE_INSTALL_PREFIX="$prefix" "$@" &&
    cmake --build "$work" -j "$(varnex_jobs)" &&
    cmake --install "$work"
  } >"$log" 2>&1 || {
    tail -n 30 "$log" >&2
    echo "windows-package: building $what failed; the whole log: $log" >&2
    exit 1
  }
  rm -rf "$work"
}

# Copies the licence texts the package passes on into $prefix/notices.
varnex_keep_notices() {
  local prefix=$1 source=$2; shift 2
  mkdir -p "$prefix/notices"
  cp "$source/debian/copyright" "$prefix/notices/debian-copyright.txt"
  local file
  for file in "$@"; do cp "$source/$file" "$prefix/notices/"; done
}

varnex_windows_libraries() {
  varnex_windows_folders
  varnex_windows_qt
  varnex_windows_jpeg
  varnex_windows_modules
}

# Whether the Qt for Windows holds every module the balance chart needs.
varnex_windows_balance() {
  local module
  for module in "${varnex_qt_modules[@]}"; do
    set -- $module
    [ -f "$VARNEX_WINDOWS_QT/varnex-$3.txt" ] || return 1
  done
}

# A module that cannot be had (apt fetches no source for it) or does not build is
# reported and left out: the programs are then built without the balance chart.
varnex_windows_modules() {
  local module package dev name version source work log
  for module in "${varnex_qt_modules[@]}"; do
    set -- $module
    package=$1 dev=$2 name=$3
    [ -f "$VARNEX_WINDOWS_QT/varnex-$name.txt" ] && continue
    version=$(varnex_source_of "$dev" Version 2>/dev/null) || version=
    if [ -z "$version" ] || [ "${version%%[+-]*}" != "$(varnex_source_of qt6-base-dev Version | sed 's/[+-].*//')" ]; then
      echo "windows-package: no $dev of Qt's own version installed here: Qt ${name^} for Windows left out" >&2
      return 0
    fi
    if ! source=$( (varnex_debian_source "$package" "$version") 2>"$VARNEX_CACHE/$package.fetch.log"); then
      echo "windows-package: apt could not fetch the source of $package $version ($VARNEX_CACHE/$package.fetch.log):" \
        "Qt ${name^} for Windows left out, and with it the balance chart" >&2
      return 0
    fi
    work=$VARNEX_CACHE/work/$package log=$VARNEX_CACHE/$package-windows.log
    echo "windows-package: building Qt ${name^} $varnex_qt_upstream for Windows into Qt's folder; log: $log"
    rm -rf "$work" && mkdir -p "$work"
    if ! {
      cmake -G Ninja -S "$source" -B "$work" -DCMAKE_TOOLCHAIN_FILE="$varnex_toolchain" \
        -DVARNEX_WINDOWS_PREFIXES="$VARNEX_WINDOWS_QT" -DCMAKE_INSTALL_PREFIX="$VARNEX_WINDOWS_QT" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(gcc -dumpmachine)/cmake" \
        "${varnex_qt_module_options[@]}" &&
      cmake --build "$work" -j "$(varnex_jobs)" &&
      cmake --install "$work"
    } >"$log" 2>&1; then
      tail -n 20 "$log" >&2
      echo "windows-package: building Qt ${name^} for Windows failed (the whole log: $log): left out, and" \
        "with it the balance chart" >&2
      return 0
    fi
    rm -rf "$work"
    cp "$source/debian/copyright" "$VARNEX_WINDOWS_QT/notices/debian-copyright-$package.txt"
    {
      echo "Qt ${name^} $varnex_qt_upstream, built unchanged from Debian's source package"
      echo "$package $version with these options:"
      printf '  %s\n' "${varnex_qt_module_options[@]}"
    } >"$VARNEX_WINDOWS_QT/varnex-$name.txt"
    rm -rf "$VARNEX_CACHE/src/${package}_${version#*:}"*
  done
}

varnex_windows_qt() {
  local qt_version source
  if [ ! -f "$VARNEX_WINDOWS_QT/varnex-build.txt" ]; then
    qt_version=$(varnex_source_of qt6-base-dev Version)
    source=$(varnex_debian_source qt6-base "$qt_version")
    local multiarch
    multiarch=$(gcc -dumpmachine)
    varnex_build_library "$(basename "$VARNEX_WINDOWS_QT")" "$source" "$VARNEX_WINDOWS_QT" \
      "Qt $varnex_qt_upstream (about 1,000 steps, some 25 minutes on two cores)" \
      -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$multiarch/cmake" "${varnex_qt_options[@]}"
    varnex_keep_notices "$VARNEX_WINDOWS_QT" "$source" LICENSES/LGPL-3.0-only.txt LICENSES/GPL-3.0-only.txt
    {
      echo "Qt $varnex_qt_upstream (qtbase), built unchanged from Debian's source package"
      echo "qt6-base $qt_version with these options:"
      printf '  %s\n' "${varnex_qt_options[@]}"
    } >"$VARNEX_WINDOWS_QT/varnex-build.txt"
    rm -rf "$source" "$VARNEX_CACHE/src/qt6-base_${qt_version#*:}"*
  fi
}

varnex_windows_jpeg() {
  local jpeg_package jpeg_version source
  if [ ! -f "$VARNEX_WINDOWS_JPEG/varnex-build.txt" ]; then
    jpeg_package=$(varnex_source_of libjpeg-dev Package)
    jpeg_version=$(varnex_source_of libjpeg-dev Version)
    source=$(varnex_debian_source "$jpeg_package" "$jpeg_version")
    varnex_build_library "$(basename "$VARNEX_WINDOWS_JPEG")" "$source" "$VARNEX_WINDOWS_JPEG" \
      "libjpeg-turbo $varnex_jpeg_upstream" "${varnex_jpeg_options[@]}"
    varnex_keep_notices "$VARNEX_WINDOWS_JPEG" "$source" LICENSE.md README.ijg
    {
      echo "libjpeg-turbo $varnex_jpeg_upstream, built unchanged from Debian's source package"
      echo "$jpeg_package $jpeg_version with these options:"
      printf '  %s\n' "${varnex_jpeg_options[@]}"
    } >"$VARNEX_WINDOWS_JPEG/varnex-build.txt"
    rm -rf "$VARNEX_CACHE/src/${jpeg_package}_${jpeg_version#*:}"*
  fi
}
