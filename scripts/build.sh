#!/usr/bin/env bash
# Installs what is missing and builds, through the native preset: the native
# core and tests, and the Windows builds (see wine-env.sh for which one runs
# here). Arguments are passed to cmake --build (--target NAME, for example).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/install-deps.sh
source scripts/wine-env.sh
cmake --preset native -DQUOLVI_TEST_ARCH="$QUOLVI_ARCH"
cmake --build --preset native -j"$(nproc)" "$@"
