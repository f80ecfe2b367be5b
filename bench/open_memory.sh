#!/usr/bin/env bash
# Measures the peak memory of quolvi.exe opening large files under Wine:
# for each size (in MB) and kind of text (ascii, japanese), a file is made,
# the program is started with it and, once its caption shows the file, the
# peak resident memory of its process (VmHWM) is read and the program ended.
# A process that grows beyond QUOLVI_MEMORY_CAP_MB (default 8000) is ended
# and reported as "over".
#
#   bash bench/open_memory.sh [SIZE_MB...]      (default: 50 100 200)
#
# Prints one line per measurement:
#   open_memory kind=<kind> size_mb=<n> peak_mb=<n> per_byte=<peak/size> seconds=<n> result=<r>
# QUOLVI_KINDS picks the kinds of text (default "ascii japanese").
# QUOLVI_EXE names another build of the program to measure (built then by
# nobody); result is loaded, refused (a message box came instead), over
# (beyond the cap), ended or timeout.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/wine-env.sh
if [ -z "${QUOLVI_IN_SESSION:-}" ]; then
  [ -n "${QUOLVI_EXE:-}" ] || bash scripts/build.sh --target "windows-$QUOLVI_ARCH" >/dev/null
  QUOLVI_IN_SESSION=1 QUOLVI_HEADLESS=1 exec bash scripts/wine-session.sh bash "$0" "$@"
fi
exe="${QUOLVI_EXE:-build/windows-$QUOLVI_ARCH/app/quolvi.exe}"
cap_kb=$(( ${QUOLVI_MEMORY_CAP_MB:-8000} * 1024 ))
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(50 100 200)

make_file() {  # make_file KIND MB PATH
  python3 - "$1" "$2" "$3" <<'PY'
import sys
kind, mb, path = sys.argv[1], int(sys.argv[2]), sys.argv[3]
line = ("The quick brown fox jumps over the lazy dog 0123456789 abcdefghij" if kind == "ascii"
        else "日本語の文章を表示する編集プログラムの試験です。漢字とかなを含む").encode("cp932") + b"\r\n"
total = mb * 1000 * 1000
with open(path, "wb") as f:
    block = line * (1 << 16 // len(line) + 1)
    written = 0
    while written < total:
        piece = block[: total - written]
        f.write(piece)
        written += len(piece)
PY
}

# The process of ours that runs quolvi.exe in this Wine prefix.
find_pid() {
  local p
  for p in $(pgrep -x quolvi.exe || true); do
    if { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then echo "$p"; return; fi
  done
}

for kind in ${QUOLVI_KINDS:-ascii japanese}; do
  for mb in "${sizes[@]}"; do
    file="$work/big.txt"
    make_file "$kind" "$mb" "$file"
    start=$SECONDS
    "$QUOLVI_WINE" "$exe" "Z:${file//\//\\}" >/dev/null 2>&1 &
    wine_pid=$!
    pid=
    result=
    while :; do
      [ -n "$pid" ] || pid=$(find_pid)
      if [ -n "$pid" ]; then
        rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
        if [ "${rss:-0}" -gt "$cap_kb" ]; then result=over; break; fi
        if xdotool search --name '^Vessaro - ' >/dev/null 2>&1; then result=loaded; break; fi
        # A message box of the program's own (caption "Quolvi") besides the main window.
        if [ "$(xdotool search --name '^Quolvi$' 2>/dev/null | wc -l)" -gt 1 ]; then result=refused; break; fi
      fi
      if ! kill -0 "$wine_pid" 2>/dev/null; then result=ended; break; fi
      [ $((SECONDS - start)) -lt 900 ] || { result=timeout; break; }
      sleep 0.2
    done
    peak=$(awk '/^VmHWM/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
    seconds=$((SECONDS - start))
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    wait "$wine_pid" 2>/dev/null || true
    awk -v k="$kind" -v mb="$mb" -v peak="$peak" -v r="$result" -v s="$seconds" 'BEGIN {
      printf "open_memory kind=%s size_mb=%d peak_mb=%d per_byte=%.1f seconds=%d result=%s\n",
             k, mb, peak / 1024, peak * 1024 / (mb * 1000000), s, r }'
  done
done
