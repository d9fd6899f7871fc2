#!/usr/bin/env bash
# varnex.exe from the unpacked package, under Wine on a virtual X server, as an
# operator tries it: the sample copied into the program's folder as its README says,
# the splash, the main window, a point spot deleted and the spawn file saved from the
# keyboard (drive_editor.sh), then, where the package holds Qt Charts, the balance
# chart opened with Ctrl+G. The Linux program takes the same steps on the same
# sample; both saves must be the same bytes. The same steps then meet a read-only
# spawn file, and, as a user who owns the file but may not write in its folder (as
# root only), a rewrite in place.
#   tests/windows/editor_test.sh <unpacked package folder> <Linux varnex> <scratch folder>
# Screenshots stay in the scratch folder: <scenario>-splash.png, -main.png, -saved.png.
set -u
package=$(cd "$1" && pwd) linux_editor=$(realpath "$2") work=$(realpath -m "$3")
. tests/windows/wine.sh

# The folder an operator has after unpacking and copying the sample up.
stage() {
  rm -rf "$1"
  cp -r "$package" "$1"
  cp -r "$package/sample/data" "$package/sample/VarnexMaps" "$1/"
}
drive() {  # folder, shots, program...
  # Without access control: the in-place scenario's program runs as another user.
  # From a display number of its own choosing: two tests started at once would both
  # take the first free one, and one of them lose it.
  xvfb-run -a -n "$((100 + RANDOM % 5000))" -s "-ac -screen 0 1280x1024x24" bash tests/windows/drive_editor.sh "$@"
}
crlf_lines() { [ -s "$1" ] && ! LC_ALL=C grep -qv $'\r$' "$1"; }

rm -rf "$work" && mkdir -p "$work/linux"
cp -r sample/data sample/VarnexMaps "$work/linux/"
cp "$linux_editor" "$work/linux/varnex"
drive "$work/linux" "$work/linux" ./varnex || fail "the Linux editor did not save"
linux_save=$work/linux/data/Quarnel.txt

wine_prefix
sample=$package/sample/data/Quarnel.txt

# Each scenario: a name, what is done to the staged folder first, and what must hold
# after the steps.
saves_as_linux() {
  cmp "$1/data/Quarnel.txt" "$linux_save" || fail "$2: the save differs from the Linux program's"
  cmp -s "$1/data/Quarnel.txt" "$sample" && fail "$2: the spawn file was not changed"
  crlf_lines "$1/data/Quarnel.txt" || fail "$2: a line of the saved file does not end in CR LF"
  cmp "$1/data/Quarnel.txt.~1~" "$sample" || fail "$2: the backup does not hold the bytes the save replaced"
}
refuses_read_only() {
  cmp "$1/data/Quarnel.txt" "$sample" || fail "$2: a read-only spawn file was written"
  compgen -G "$1/data/Quarnel.txt.~*~" >/dev/null && fail "$2: a backup was made of a file not saved"
}
make_read_only() { (cd "$1/data" && "$wine" cmd /c attrib +r Quarnel.txt >/dev/null 2>&1); }
no_change() { :; }

# A user who owns the spawn file but may not write in its folder (root's): no temporary
# file can be made beside it, so the save, once told to go on without a backup,
# rewrites the file in place with a rollback copy in %LOCALAPPDATA%\varnex\rollback of
# that user's Wine prefix.
other=nobody
other_home=$work/other-user
other_local=$other_home/wine/drive_c/users/$other/AppData/Local
as_other=(runuser -u "$other" -- env HOME="$other_home" WINEPREFIX="$other_home/wine")
give_to_other() {
  chown "$other" "$1/data/Quarnel.txt"
  if [ ! -f "$other_home/wine/system.reg" ]; then
    mkdir -p "$other_home" && chown "$other" "$other_home"
    (unset DISPLAY; "${as_other[@]}" "$wine" wineboot --init >/dev/null 2>&1 || true)
  fi
}
rewrites_in_place() {
  cmp "$1/data/Quarnel.txt" "$linux_save" || fail "$2: the save differs from the Linux program's"
  [ "$(stat -c %U:%a "$1/data/Quarnel.txt")" = "$other:644" ] || fail "$2: the file lost its owner or mode"
  [ "$(ls -A "$1/data" | tr '\n' ' ')" = "Quarnel.txt monster.txt " ] ||
    fail "$2: the data folder holds more than the tables: $(ls -A "$1/data")"
  [ -d "$other_local/varnex/rollback" ] || fail "$2: no rollback folder in %LOCALAPPDATA%: not rewritten in place"
  [ -z "$(ls -A "$other_local/varnex/rollback" 2>/dev/null)" ] || fail "$2: a rollback copy was left"
}
other_end() { "${as_other[@]}" "$(dirname "$wine")/wineserver" -w 2>/dev/null || true; }

# name | prepare | expect | who runs the program (me, other) | the answer to a question
scenarios=(
  "delete-and-save|no_change|saves_as_linux|me|"
  "read-only|make_read_only|refuses_read_only|me|"
  "in-place|give_to_other|rewrites_in_place|other|yes"
)
for row in "${scenarios[@]}"; do
  IFS='|' read -r name prepare expect user answer <<<"$row"
  runner=("$wine")
  if [ "$user" = other ]; then
    if [ "$(id -u)" != 0 ] || ! command -v runuser >/dev/null; then
      echo "editor_test: $name skipped: starting Wine as another user needs root"
      continue
    fi
    runner=("${as_other[@]}" "$wine")
  fi
  folder=$work/$name
  stage "$folder"
  "$prepare" "$folder"
  # A Wine program run to prepare had no display; the editor's session is a new one.
  wine_end
  [ "$user" = other ] && other_end
  chart=
  [ "$name" = delete-and-save ] && [ -f "$package/Qt6Charts.dll" ] && chart=yes
  if DRIVE_ANSWER=$answer DRIVE_CHART=$chart drive "$folder" "$work/$name" "${runner[@]}" "$folder/varnex.exe"; then
    [ "$user" = other ] && other_end
    "$expect" "$folder" "$name"
  else
    fail "$name: varnex.exe under Wine did not come to its save (screenshots: $work/$name-*.png)"
  fi
  wine_end
  [ "$user" = other ] && other_end
  # Nothing of a save that went through stays behind in the rollback folder.
  rollback=$(compgen -G "$WINEPREFIX/drive_c/users/*/AppData/Local/varnex/rollback/*" || true)
  [ -z "$rollback" ] || fail "$name: a rollback copy was left: $rollback"
done
[ -f "$package/Qt6Charts.dll" ] || echo "editor_test: the balance chart skipped: the package was built without Qt Charts"
echo "editor_test: ${#scenarios[@]} scenarios under Wine, $failures failures"
[ "$failures" -eq 0 ]
