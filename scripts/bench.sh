#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine; each prints lines of the form
#   bench <name> size=<bytes> ours_s=<seconds> base_s=<seconds> ratio=<ours/base>
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/install-deps.sh
source scripts/wine-env.sh
cmake -S . -B build -DQUOLVI_TEST_ARCH="$QUOLVI_ARCH"
cmake --build build -j"$(nproc)" --target "windows-$QUOLVI_ARCH"
QUOLVI_HEADLESS=1 bash scripts/wine-session.sh "$QUOLVI_WINE" "build/windows-$QUOLVI_ARCH/bench/editor_bench.exe" "$@"
