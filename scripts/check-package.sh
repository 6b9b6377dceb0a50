#!/usr/bin/env bash
# Checks the release package made by
#   cmake --workflow --preset package
# (default: build/package/Plover-2.0-win32.zip, or the file given as $1): it
# must unpack to one folder holding exactly Plover.exe, Quenlock.exe and
# README.txt, the programs must be Windows executables, and README.txt must be
# UTF-8 with a byte-order mark, Chinese text first.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
zip=${1:-$root/build/package/Plover-2.0-win32.zip}
[ -f "$zip" ] || {
  echo "check-package: $zip does not exist" >&2
  exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$zip" "$work" <<'PY'
import sys, zipfile
zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])
PY

fail() {
  echo "check-package: $*" >&2
  exit 1
}
top=$(basename "$zip" .zip)
[ -d "$work/$top" ] || fail "no folder $top in the package"
found=$(cd "$work" && find . -type f | sort | tr '\n' ' ')
want="./$top/Plover.exe ./$top/Quenlock.exe ./$top/README.txt "
[ "$found" = "$want" ] || fail "the package holds: $found; expected: $want"
for exe in Plover.exe Quenlock.exe; do
  [ "$(head -c 2 "$work/$top/$exe")" = MZ ] || fail "$exe is not a Windows executable"
done
readme=$work/$top/README.txt
[ "$(head -c 3 "$readme" | od -An -tx1 | tr -d ' \n')" = efbbbf ] ||
  fail "README.txt does not start with the UTF-8 byte-order mark"
python3 - "$readme" <<'PY' || fail "README.txt is not UTF-8 with Chinese first and English after"
import sys
text = open(sys.argv[1], "rb").read().decode("utf-8")
first_han = next(i for i, c in enumerate(text) if "\u4e00" <= c <= "\u9fff")
english = text.find("What it does")
assert 0 <= first_han < english, "Chinese first"
for word in ("ver.dat", ".w3v", "loader.bat", "Plover.exe", "registry"):
    assert word in text, word
PY
echo "check-package: $zip holds $want($(stat -c %s "$work/$top/Plover.exe") and $(stat -c %s "$work/$top/Quenlock.exe") bytes)"
