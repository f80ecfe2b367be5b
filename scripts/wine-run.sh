#!/usr/bin/env bash
# Runs a Windows program under Wine, inside a session of wine-session.sh.
#
# The program's output goes through a file: Wine may start helper processes
# (services, the desktop) that live on after the program and would hold a
# pipe open, so that whoever reads the output (ctest) would wait for them.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
output="$(mktemp)"
trap 'rm -f "$output"' EXIT
run() {
  status=0
  "$QUOLVI_WINE" "$@" >"$output" 2>&1 </dev/null || status=$?
}
run "$@"
# A program that failed without printing a word never started: under load,
# Wine now and then fails to start a process at all. One more try, said aloud.
if [ "$status" -ne 0 ] && [ ! -s "$output" ]; then
  echo "wine-run: $1 ended with status $status without a word; starting it once more" >&2
  run "$@"
fi
cat "$output"
exit "$status"
