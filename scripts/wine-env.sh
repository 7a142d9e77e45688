#!/usr/bin/env bash
# Runs a command in the project's Wine environment:
#   scripts/wine-env.sh COMMAND [ARG...]
# - a 64-bit prefix of its own for the run (NENGA_WINEPREFIX, default build/wineprefix),
#   made once: Wine's processes of one prefix share one wineserver, one registry (the
#   screen scale the tests set) and one desktop, and the run ends them all when it ends.
#   A run that finds the prefix in use by another takes the next one free (PREFIX-2,
#   PREFIX-3, ...), made on its first use, so runs at the same time leave each other alone;
# - LANG and LC_ALL ja_JP.UTF-8, so Wine's ANSI code page is 932;
# - "ＭＳ Ｐゴシック", "ＭＳ ゴシック" and "MS UI Gothic" drawn with the IPA Gothic fonts;
# - WINEDEBUG quiet unless the caller set it;
# - a virtual X display (Xvfb) of its own when DISPLAY is unset, stopped afterwards,
#   with Wine managing its own windows there.
# Inside a run (a command or script the run started), the command runs in that run's
# environment.
set -euo pipefail

if [[ -n "${NENGA_WINE_ENV:-}" ]]; then
  exec "$@"
fi

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
base="${NENGA_WINEPREFIX:-$root/build/wineprefix}"
mkdir -p "$(dirname "$base")"
# The lock is held as long as this script runs; everything it starts runs without the
# lock's descriptor ({lock}>&-), so that nothing left behind keeps the prefix taken.
lock=""
for n in 1 2 3 4 5 6 7 8; do
  prefix=$base
  ((n == 1)) || prefix=$base-$n
  exec {lock}>>"$prefix.lock"
  flock -n "$lock" && break
  exec {lock}>&-
  lock=""
done
if [[ -z "$lock" ]]; then
  echo "wine-env: the Wine prefixes $base and $base-2 to -8 are all in use" >&2
  exit 1
fi
export WINEPREFIX="$prefix"
export NENGA_WINE_ENV=1
export WINEARCH=win64
export LANG=ja_JP.UTF-8
# Wine takes its code page from LC_ALL too; the locale need not be generated.
export LC_ALL=ja_JP.UTF-8 2>/dev/null
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko install dialogs when the prefix is made.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

xvfb_pid=""
cleanup() {
  # The prefix is this run's alone: its wineserver and every process left are the run's.
  wineserver -k >/dev/null 2>&1 || true
  if [[ -n "$xvfb_pid" ]]; then
    kill "$xvfb_pid" >/dev/null 2>&1 || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

if [[ -z "${DISPLAY:-}" ]]; then
  # Numbers from 90, clear of the displays people and tools use. Xvfb writes the number
  # once it is ready and ends at once when another server holds it, so two runs starting
  # together cannot take the same display.
  ready=$(mktemp)
  for n in $(seq 90 150); do
    [[ -e "/tmp/.X$n-lock" || -e "/tmp/.X11-unix/X$n" ]] && continue
    Xvfb ":$n" -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$ready" >/dev/null 2>&1 \
      {lock}>&- &
    xvfb_pid=$!
    for _ in $(seq 100); do
      [[ -s "$ready" ]] && break
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    if [[ -s "$ready" ]] && kill -0 "$xvfb_pid" 2>/dev/null; then
      export DISPLAY=":$n"
      break
    fi
    kill "$xvfb_pid" >/dev/null 2>&1 || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
  done
  rm -f "$ready"
  [[ -n "${DISPLAY:-}" ]] || { echo "wine-env: no free X display" >&2; exit 1; }
fi

if [[ ! -f "$WINEPREFIX/.nenga-ready" ]]; then
  mkdir -p "$WINEPREFIX"
  echo "wine-env: making the Wine prefix $WINEPREFIX (once)" >&2
  wineboot -i >/dev/null 2>&1 {lock}>&-
  reg="$WINEPREFIX/fonts.reg"
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"ＭＳ Ｐゴシック"="IPAPGothic"' '"MS PGothic"="IPAPGothic"' \
    '"ＭＳ ゴシック"="IPAGothic"' '"MS Gothic"="IPAGothic"' \
    '"MS UI Gothic"="IPAPGothic"' '' |
    iconv -f UTF-8 -t UTF-16 >"$reg"
  wine regedit /S "$reg" >/dev/null 2>&1 {lock}>&-
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
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$want_managed" /f >/dev/null 2>&1 \
    {lock}>&-
  wineserver -w
  echo "$want_managed" >"$WINEPREFIX/.nenga-managed"
fi

# One wineserver for the whole run. Left to itself, it shuts down a few seconds after its
# last program ends, taking the system's programs (services, explorer) with it, and a
# program started meanwhile is refused or killed at once, without a word.
# The system's programs are started here, with no terminal or pipe of the command's: one
# a command started would hold that command's output open as long as the server runs.
wineserver -p {lock}>&-
wine wineboot </dev/null >/dev/null 2>&1 {lock}>&-

status=0
"$@" {lock}>&- || status=$?
exit "$status"
