#!/usr/bin/env bash
# What the unpacked Windows package holds: the programs, the DLLs they load and no
# other, every one stripped, the texts with Windows' line ends, the sample.
#   tests/windows/package_test.sh <unpacked package folder>
set -u
package=$1
. tests/windows/wine.sh
objdump=x86_64-w64-mingw32-objdump nm=x86_64-w64-mingw32-nm

# Entries an operator needs, each as a path below the folder.
for entry in varnex.exe varnex-check.exe platforms/qwindows.dll styles/qwindowsvistastyle.dll \
  Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll \
  README.txt LICENSE VarnexMaps/README.txt licenses/Qt.txt licenses/LGPL-3.0.txt licenses/GPL-3.0.txt \
  licenses/libjpeg-turbo.txt sample/data/monster.txt sample/data/Quarnel.txt sample/VarnexMaps/0.jpg; do
  [ -f "$package/$entry" ] || fail "the package lacks $entry"
done

# Every import is a DLL of the folder or of Windows itself (in Wine's system folder, or
# an API set, api-ms-win-*, which Windows resolves to its own DLLs), and every DLL of
# the folder's top is imported by something in it.
wine_prefix
system=$WINEPREFIX/drive_c/windows/system32
imported=$(mktemp)
while IFS= read -r -d '' binary; do
  "$objdump" -h "$binary" | grep -q '\.debug' && fail "${binary#"$package"/} has debugging sections"
  "$nm" "$binary" 2>&1 | grep -q 'no symbols' || fail "${binary#"$package"/} has a symbol table"
  for dll in $("$objdump" -p "$binary" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
    echo "$dll" >>"$imported"
    [[ ${dll,,} == api-ms-win-* ]] && continue
    [ -f "$package/$dll" ] || compgen -G "$system/$dll" >/dev/null || [ -f "$system/${dll,,}" ] ||
      fail "${binary#"$package"/} loads $dll, which is neither in the package nor Windows' own"
  done
done < <(find "$package" \( -name '*.exe' -o -name '*.dll' \) -print0)
for dll in "$package"/*.dll; do
  grep -qx "$(basename "$dll")" "$imported" || fail "nothing loads $(basename "$dll")"
done
rm -f "$imported"

# The texts read well in Notepad: CR LF at every line end.
while IFS= read -r -d '' text; do
  LC_ALL=C grep -qv $'\r$' "$text" && fail "${text#"$package"/} has a line without CR LF"
done < <(find "$package" \( -name '*.txt' -o -name LICENSE \) -not -path '*/sample/*' -print0)

echo "package_test: $failures failures"
[ "$failures" -eq 0 ]
