#!/usr/bin/env bash
# The tree stays as .clang-format formats it.
set -u
cd "$(dirname "$0")/.."
fmt=${1:-clang-format}
files=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find engine tools tests -name '*.cpp' -o -name '*.h')
[ -n "$files" ] || { echo "no sources"; exit 0; }
# shellcheck disable=SC2086
if ! "$fmt" --dry-run --Werror $files; then
  echo "run: $fmt -i \$(git ls-files '*.cpp' '*.h')"
  exit 1
fi
echo "format check: clean"
