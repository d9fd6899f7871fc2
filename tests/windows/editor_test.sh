#!/usr/bin/env bash
# varnex.exe from the unpacked package, under Wine on a virtual X server, as an
# operator tries it: the sample copied into the program's folder as its README says,
# the splash, the main window, a point spot deleted and the spawn file saved from the
# keyboard (drive_editor.sh). The Linux program takes the same steps on the same
# sample; both saves must be the same bytes.
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
  xvfb-run -a -s "-screen 0 1280x1024x24" bash tests/windows/drive_editor.sh "$@"
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

scenarios=(
  "delete-and-save|no_change|saves_as_linux"
  "read-only|make_read_only|refuses_read_only"
)
for row in "${scenarios[@]}"; do
  IFS='|' read -r name prepare expect <<<"$row"
  folder=$work/$name
  stage "$folder"
  "$prepare" "$folder"
  # A Wine program run to prepare had no display; the editor's session is a new one.
  wine_end
  if drive "$folder" "$work/$name" "$wine" "$folder/varnex.exe"; then
    "$expect" "$folder" "$name"
  else
    fail "$name: varnex.exe under Wine did not come to its save (screenshots: $work/$name-*.png)"
  fi
  wine_end
  # Nothing of a save that went through stays behind in the rollback folder.
  rollback=$(compgen -G "$WINEPREFIX/drive_c/users/*/AppData/Local/varnex/rollback/*" || true)
  [ -z "$rollback" ] || fail "$name: a rollback copy was left: $rollback"
done
echo "editor_test: ${#scenarios[@]} scenarios under Wine, $failures failures"
[ "$failures" -eq 0 ]
