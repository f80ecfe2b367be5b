#!/usr/bin/env bash
# Runs a Windows program under Wine, inside a session of wine-session.sh.
#
# The program's output goes through a file: Wine may start helper processes
# (services, the desktop) that live on after the program and would hold a
# pipe open, so that whoever reads the output (ctest) would wait for them.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
output="$(mktemp)"
trap 'rm -f "$output"' EXIT
status=0
"$QUOLVI_WINE" "$@" >"$output" 2>&1 </dev/null || status=$?
cat "$output"
if [ "$status" -ne 0 ] && [ ! -s "$output" ]; then
  echo "wine-run: $1 printed nothing and ended with status $status" >&2
fi
exit "$status"
