#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine; each prints lines of the form
#   bench <name> size=<bytes> ours_s=<seconds> base_s=<seconds> ratio=<ours/base>
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/wine-env.sh
bash scripts/build.sh --target "windows-$QUOLVI_ARCH"
bench="build/windows-$QUOLVI_ARCH/bench"
QUOLVI_HEADLESS=1 bash scripts/wine-session.sh bash -c \
  "scripts/wine-run.sh $bench/editor_bench.exe $* && scripts/wine-run.sh $bench/replace_bench.exe"
