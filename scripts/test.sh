#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the
# native unit tests (also under AddressSanitizer and UBSan) and the Windows
# tests under Wine, in one ctest run.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/install-deps.sh
source scripts/wine-env.sh
cmake -S . -B build -DQUOLVI_TEST_ARCH="$QUOLVI_ARCH"
cmake --build build -j"$(nproc)"
bash scripts/wine-session.sh ctest --test-dir build --output-on-failure -j2 "$@"
