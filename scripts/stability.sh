#!/usr/bin/env bash
# Runs the Windows tests (ctest -L wine) N times in a row (default 20) while
# one busy process per processor competes for the machine, and stops at the
# first failure. Prints "<passed>/<N> passed". Usage: scripts/stability.sh [N]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
runs="${1:-20}"
bash scripts/build.sh >/dev/null

busy=()
stop_busy() {
  for pid in "${busy[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${busy[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap stop_busy EXIT
for _ in $(seq "$(nproc)"); do
  yes >/dev/null &
  busy+=("$!")
done

passed=0
for run in $(seq "$runs"); do
  echo "stability: run $run of $runs"
  if ! bash scripts/wine-session.sh ctest --test-dir build --output-on-failure -j2 -L wine; then
    echo "stability: run $run failed"
    break
  fi
  passed=$((passed + 1))
done
echo "$passed/$runs passed"
[ "$passed" -eq "$runs" ]
