#!/usr/bin/env bash
# Runs a command in a Wine session: the Wine prefix made if missing, a
# virtual screen (Xvfb) when there is no display or QUOLVI_HEADLESS=1, and
# one persistent wineserver, so that each Wine program starts in a fraction
# of a second. Stops what it started when the command ends, however it ends.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"

xvfb_pid=
cleanup() {
  # Killed and waited for: a session that starts next must not meet this
  # server on its way out.
  "$QUOLVI_WINESERVER" -k >/dev/null 2>&1 || true
  "$QUOLVI_WINESERVER" -w >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

wait_for() {  # wait_for SECONDS COMMAND...: polls until COMMAND succeeds
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

if [ -z "${DISPLAY:-}" ] || [ "${QUOLVI_HEADLESS:-0}" = 1 ]; then
  display=90
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  wait_for 20 test -e "/tmp/.X11-unix/X$display" || { echo "wine-session: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$display"
fi

if [ ! -e "$WINEPREFIX/system.reg" ]; then
  echo "wine-session: making the Wine prefix $WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  "$QUOLVI_WINE" wineboot -i >/dev/null 2>&1 || true
  "$QUOLVI_WINESERVER" -w
fi
# The prefix's settings; the stamp's number changes with them.
stamp="$WINEPREFIX/.quolvi-settings-3"
if [ ! -e "$stamp" ]; then
  reg() { "$QUOLVI_WINE" reg add "$@" /f >/dev/null 2>&1; }
  # No crash dialog waiting for a person.
  reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
  # Windows that no window manager manages: without one, Wine would wait
  # two seconds for each top-level window to be withdrawn when it is hidden.
  reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
  # Wine's own fonts (Marlett, whose glyphs are the caption buttons, and the
  # system fonts): Debian's Wine looks for them in its data folder's
  # "../fonts", that is /usr/share/fonts, where they are not; fonts-wine
  # installs them in /usr/share/wine/fonts. Linked into the Windows fonts
  # folder, they are found as on Windows.
  fonts="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  for font in /usr/share/wine/fonts/*; do
    if [ -e "$font" ] && [ ! -e "$fonts/${font##*/}" ]; then ln -s "$font" "$fonts/"; fi
  done
  # The Japanese system fonts, given by the installed IPA fonts. A
  # replacement is a font family of its own name, listed by the font dialog
  # like the real one; a substitute (as MS Shell Dlg is on Windows) is not.
  replacements='HKCU\Software\Wine\Fonts\Replacements'
  subst='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
  for pair in 'ＭＳ ゴシック=IPAGothic' 'ＭＳ Ｐゴシック=IPAPGothic' 'ＭＳ 明朝=IPAMincho' \
              'ＭＳ Ｐ明朝=IPAPMincho' 'MS UI Gothic=IPAPGothic'; do
    reg "$replacements" /v "${pair%%=*}" /t REG_SZ /d "${pair#*=}"
    "$QUOLVI_WINE" reg delete "$subst" /v "${pair%%=*}" /f >/dev/null 2>&1 || true
  done
  reg "$subst" /v 'MS Shell Dlg' /t REG_SZ /d 'MS UI Gothic'
  reg "$subst" /v 'MS Shell Dlg 2' /t REG_SZ /d 'MS UI Gothic'
  "$QUOLVI_WINESERVER" -w
  touch "$stamp"
fi

"$QUOLVI_WINESERVER" -p
# Start Wine's own services now, outside the command's output.
"$QUOLVI_WINE" cmd /c ver >/dev/null 2>&1 </dev/null || true
status=0
"$@" || status=$?
exit "$status"
