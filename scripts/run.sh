#!/usr/bin/env bash
# Installs what is missing, builds the editor and starts it under Wine.
# Arguments are passed to the editor (a file to open, for example).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/wine-env.sh
bash scripts/build.sh --target "windows-$QUOLVI_ARCH"
if [ -z "${DISPLAY:-}" ]; then
  echo "run: no DISPLAY; the editor runs on a virtual screen (Xvfb) until it is closed" >&2
fi
bash scripts/wine-session.sh "$QUOLVI_WINE" "build/windows-$QUOLVI_ARCH/app/quolvi.exe" "$@"
