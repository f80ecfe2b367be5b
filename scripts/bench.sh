#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine (the 32-bit build where this
# machine runs 32-bit Wine) and prints one line per measurement:
#   bench <name> size=<bytes> ours_s=<seconds> base_s=<seconds> ratio=<ours/base>
# With a part's name, runs that part only: first-screen (launch to the first
# screen and to the caption, the first screen after a word-wrap switch),
# long-line (each action on a text without a line break against the bare
# control with the same line; long-line <text> for one text, such as
# 512KB-japanese), or one of large_file_bench's parts (open, program, search,
# edit, typing, start).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/wine-env.sh
bash scripts/build.sh --target "windows-$QUOLVI_ARCH"
echo "bench build=windows-$QUOLVI_ARCH wine=$("$QUOLVI_WINE" --version) cpus=$(nproc)"
part="${1:-}"
if [ "$part" != first-screen ] && [ "$part" != long-line ]; then
  QUOLVI_HEADLESS=1 bash scripts/wine-session.sh scripts/wine-run.sh \
    "build/windows-$QUOLVI_ARCH/bench/large_file_bench.exe" "$@"
fi
if [ -z "$part" ] || [ "$part" = first-screen ]; then
  QUOLVI_HEADLESS=1 bash scripts/wine-session.sh scripts/wine-run.sh \
    "build/windows-$QUOLVI_ARCH/bench/first_screen_bench.exe"
fi
if [ -z "$part" ] || [ "$part" = long-line ]; then
  QUOLVI_HEADLESS=1 bash scripts/wine-session.sh scripts/wine-run.sh \
    "build/windows-$QUOLVI_ARCH/bench/long_line_bench.exe" "${@:2}"
fi
