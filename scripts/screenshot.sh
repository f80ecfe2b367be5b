#!/usr/bin/env bash
# Takes the README's screenshot (docs/screenshot.png) with the end-to-end rig:
# the main window under Wine with some text and the Edit menu open.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/wine-env.sh
bash scripts/build.sh
bmp="$(mktemp --suffix=.bmp)"
trap 'rm -f "$bmp"' EXIT
export QUOLVI_SCREENSHOT="$(winepath -w "$bmp" 2>/dev/null || echo "Z:${bmp//\//\\}")"
QUOLVI_HEADLESS=1 bash scripts/wine-session.sh scripts/wine-run.sh \
  "build/windows-$QUOLVI_ARCH/tests/e2e_tests.exe" --gtest_also_run_disabled_tests \
  --gtest_filter='ScreenshotTest.*'
convert "$bmp" -crop 540x440+0+0 +repage docs/screenshot.png
echo "screenshot: docs/screenshot.png"
