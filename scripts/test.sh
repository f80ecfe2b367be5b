#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the
# native unit tests (also under AddressSanitizer and UBSan) and the Windows
# tests under Wine, in one ctest run.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/build.sh
bash scripts/wine-session.sh ctest --test-dir build --output-on-failure -j2 "$@"
