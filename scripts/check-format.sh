#!/usr/bin/env bash
# Checks that every C and C++ file of the repository (those git knows of:
# tracked, or new and not ignored) is as clang-format writes it with the
# repository's .clang-format; names each file that is not.
#
# Usage: check-format.sh [ROOT]    (default: the repository of this script)
# CLANG_FORMAT names the clang-format to use (default: clang-format).
set -uo pipefail

root=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
cd "$root" || exit 1
format=${CLANG_FORMAT:-clang-format}
command -v "$format" >/dev/null || {
  echo "check-format: $format is not installed (scripts/setup.sh installs it)" >&2
  exit 1
}

files=()
while IFS= read -r -d '' file; do
  # A file deleted in the working tree but still known to git is left out.
  [ -f "$file" ] && files+=("$file")
done < <(git ls-files -z --cached --others --exclude-standard -- '*.cpp' '*.h' '*.c')
[ ${#files[@]} -gt 0 ] || {
  echo "check-format: no C or C++ files found in $root" >&2
  exit 1
}

bad=$(printf '%s\0' "${files[@]}" |
  xargs -0 -n 50 "$format" --dry-run -Werror 2>&1 >/dev/null |
  sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error: .*clang-format.*/\1/p' | sort -u)
if [ -n "$bad" ]; then
  echo "check-format: not as clang-format writes them (clang-format -i FILE fixes one):"
  while IFS= read -r file; do echo "  $file"; done <<<"$bad"
  exit 1
fi
echo "check-format: all ${#files[@]} C and C++ files are clang-format clean"
