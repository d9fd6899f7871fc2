#!/usr/bin/env bash
# varnex-check.exe from the package, under Wine, against the Linux program over the
# same folders: the same problems at the same lines and columns, the same exit status,
# the paths written the Windows way.
#   tests/windows/check_test.sh <unpacked package folder> <Linux varnex-check> <scratch folder>
set -u
package=$(cd "$1" && pwd) linux_check=$(realpath "$2") work=$(realpath -m "$3")
. tests/windows/wine.sh

# name | where the planted folder is copied, below the scratch folder | the working
# folder, below it | the arguments
cases=(
  "the working folder|planted|planted|"
  "a folder named|planted|.|planted"
  "a folder named with slashes|servers/one|.|servers/one"
  "a folder whose name is not ASCII|Карты/planted|.|Карты/planted"
  "the JSON report|planted|planted|--format json"
  "errors only|planted|planted|--quiet"
)

# The Linux report as Windows writes it: each folder of a path ends in a backslash
# (doubled in JSON), and lines end in CR LF.
windows_paths() {
  local folders=$1 slash=$2 script="" name
  for name in data VarnexMaps $folders; do script="${script}s#$name/#$name$slash#g;"; done
  sed -e "$script" -e 's/$/\r/'
}

wine_prefix
for row in "${cases[@]}"; do
  IFS='|' read -r name copy at args <<<"$row"
  rm -rf "$work" && mkdir -p "$work/$copy"
  cp -r tests/check/planted/. "$work/$copy/"
  linux_status=0 windows_status=0
  (cd "$work/$at" && "$linux_check" $args) >"$work/linux.out" 2>&1 || linux_status=$?
  (cd "$work/$at" && unset DISPLAY && "$wine" "$package/varnex-check.exe" $args) >"$work/windows.out" 2>/dev/null ||
    windows_status=$?
  slash='\\'
  [[ $args == *json* ]] && slash='\\\\'
  windows_paths "${copy//\// }" "$slash" <"$work/linux.out" >"$work/expected.out"
  if [ "$linux_status" != "$windows_status" ]; then
    fail "varnex-check, $name: exit status $windows_status under Wine, $linux_status on Linux"
  elif ! cmp -s "$work/expected.out" "$work/windows.out"; then
    fail "varnex-check, $name: the report differs from Linux's (< expected, > Wine):"
    diff "$work/expected.out" "$work/windows.out" | head -n 20
  elif ! grep -q 'data\\' "$work/windows.out"; then
    fail "varnex-check, $name: the report names no file"
  fi
done
wine_end
echo "check_test: ${#cases[@]} cases, $failures failed"
[ "$failures" -eq 0 ]
