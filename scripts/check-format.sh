#!/usr/bin/env bash
# Checks that the C++ sources are formatted as .clang-format says, and shows
# how the ones that are not would change. With --fix, formats them instead.
# The generated code page 932 tables are left as the generator writes them.
# Set CLANG_FORMAT to use another clang-format than the one on the path
# (the style is checked with Debian 12's, version 14).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
clang_format="${CLANG_FORMAT:-clang-format}"
if ! command -v "$clang_format" >/dev/null; then
  echo "check-format: $clang_format not found (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
fix=0
if [ "${1:-}" = --fix ]; then fix=1; fi

folders=()
for folder in core win32 app tests bench tools; do
  if [ -d "$folder" ]; then folders+=("$folder"); fi
done
mapfile -t files < <(find "${folders[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) \
  ! -name cp932_tables.cpp | sort)

# One run of clang-format finds the files that are not formatted.
mapfile -t unformatted < <("$clang_format" --style=file --dry-run "${files[@]}" 2>&1 |
  sed -n 's/^\(.*\):[0-9]*:[0-9]*: warning: code should be clang-formatted.*/\1/p' | sort -u)
for file in "${unformatted[@]}"; do
  if [ "$fix" = 1 ]; then
    "$clang_format" --style=file -i "$file"
    echo "check-format: formatted $file"
  else
    "$clang_format" --style=file "$file" | diff -u --label "$file" --label "$file (formatted)" "$file" - || true
  fi
done
if [ "$fix" = 0 ] && [ "${#unformatted[@]}" -gt 0 ]; then
  echo "check-format: ${#unformatted[@]} of ${#files[@]} files are not formatted" \
    "(scripts/check-format.sh --fix formats them)" >&2
  exit 1
fi
echo "check-format: ${#files[@]} files checked"
