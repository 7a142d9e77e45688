#!/usr/bin/env bash
# Runs a command in the project's Wine environment:
#   scripts/wine-env.sh COMMAND [ARG...]
# - its own 64-bit prefix (NENGA_WINEPREFIX, default build/wineprefix), made once;
# - LANG and LC_ALL ja_JP.UTF-8, so Wine's ANSI code page is 932;
# - "ＭＳ Ｐゴシック", "ＭＳ ゴシック" and "MS UI Gothic" drawn with the IPA Gothic fonts;
# - WINEDEBUG quiet unless the caller set it;
# - a virtual X display (Xvfb) on a free number when DISPLAY is unset, stopped afterwards,
#   with Wine managing its own windows there.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${NENGA_WINEPREFIX:-$root/build/wineprefix}"
export WINEARCH=win64
export LANG=ja_JP.UTF-8
# Wine takes its code page from LC_ALL too; the locale need not be generated.
export LC_ALL=ja_JP.UTF-8 2>/dev/null
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko install dialogs when the prefix is made.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [[ -n "$xvfb_pid" ]]; then
    kill "$xvfb_pid" >/dev/null 2>&1 || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

if [[ -z "${DISPLAY:-}" ]]; then
  for n in $(seq 90 150); do
    [[ -e "/tmp/.X$n-lock" || -e "/tmp/.X11-unix/X$n" ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
      [[ -e "/tmp/.X11-unix/X$n" ]] && break
      sleep 0.1
    done
    if kill -0 "$xvfb_pid" 2>/dev/null && [[ -e "/tmp/.X11-unix/X$n" ]]; then
      export DISPLAY=":$n"
      break
    fi
    xvfb_pid=""
  done
  [[ -n "${DISPLAY:-}" ]] || { echo "wine-env: no free X display" >&2; exit 1; }
fi

if [[ ! -f "$WINEPREFIX/.nenga-ready" ]]; then
  mkdir -p "$WINEPREFIX"
  echo "wine-env: making the Wine prefix $WINEPREFIX (once)" >&2
  wineboot -i >/dev/null 2>&1
  reg="$WINEPREFIX/fonts.reg"
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"ＭＳ Ｐゴシック"="IPAPGothic"' '"MS PGothic"="IPAPGothic"' \
    '"ＭＳ ゴシック"="IPAGothic"' '"MS Gothic"="IPAGothic"' \
    '"MS UI Gothic"="IPAPGothic"' '' |
    iconv -f UTF-8 -t UTF-16 >"$reg"
  wine regedit /S "$reg" >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.nenga-ready"
fi

# Wine draws the caption buttons with Marlett; without it they show as letters.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [[ -f /usr/share/wine/fonts/marlett.ttf && ! -f "$fonts/marlett.ttf" ]]; then
  cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
fi

# A bare virtual display has no window manager, and Wine then waits two seconds for
# every captioned window to close; unmanaged windows close at once. On a real
# display the window manager keeps the windows.
want_managed=Y
[[ -n "$xvfb_pid" ]] && want_managed=N
if [[ "$(cat "$WINEPREFIX/.nenga-managed" 2>/dev/null)" != "$want_managed" ]]; then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$want_managed" /f >/dev/null 2>&1
  wineserver -w
  echo "$want_managed" >"$WINEPREFIX/.nenga-managed"
fi

status=0
"$@" || status=$?
exit "$status"
