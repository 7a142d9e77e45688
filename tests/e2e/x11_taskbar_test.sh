#!/bin/sh
# What a Linux taskbar sees of the program under Wine, read from the X server:
#   x11_taskbar_test.sh NENGA_EXE
# The application window, named with the application title "Nenga", is mapped with an
# icon and is not skipped by the taskbar; the main window is transient for it and
# skipped, so the program has one taskbar entry. Wine gives these hints to the windows
# a window manager manages, so the program runs managed here, as on a desktop.
set -u
# The X tools print window names in UTF-8 only under a UTF-8 locale they know.
export LC_ALL=C.UTF-8
exe=$1
fail=0
check() {  # check DESCRIPTION COMMAND...
  what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; fail=1; fi
}

managed() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$1" /f >/dev/null 2>&1
}
before=$(wine reg query 'HKCU\Software\Wine\X11 Driver' /v Managed 2>/dev/null |
  sed -n 's/.*REG_SZ[[:space:]]*\([YN]\).*/\1/p')
managed Y
trap 'managed "${before:-N}"' EXIT

LC_ALL=ja_JP.UTF-8 wine "$exe" >/dev/null 2>&1 &
main=""
for _ in $(seq 150); do
  tree=$(xwininfo -root -tree 2>/dev/null)
  main=$(printf '%s\n' "$tree" | grep '"年賀はがき当たり番号判定": ("nenga.exe"' | awk '{print $1}' | head -n1)
  app=$(printf '%s\n' "$tree" | grep '"Nenga": ("nenga.exe"' | awk '{print $1}' | head -n1)
  [ -n "$main" ] && [ -n "$app" ] && xwininfo -id "$main" | grep -q IsViewable && break
  sleep 0.1
done

if [ -z "$main" ] || [ -z "$app" ]; then
  echo "FAILED: the program's windows never appeared"
  fail=1
else
  # Wine sets the window states just after it maps the windows.
  for _ in $(seq 50); do
    xprop -id "$main" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR && break
    sleep 0.1
  done
  app_props=$(xprop -id "$app")
  main_props=$(xprop -id "$main")
  check "the application window is mapped" sh -c "xwininfo -id $app | grep -q IsViewable"
  check "the application window has an icon" sh -c "printf '%s' \"\$1\" | grep -q '^_NET_WM_ICON'" - "$app_props"
  # The main window has none of its own: Wine shows its default icon there.
  check "the application window's icon is the program's" \
    test "$(xprop -id "$app" _NET_WM_ICON | md5sum)" != "$(xprop -id "$main" _NET_WM_ICON | md5sum)"
  check "the application window is on the taskbar" \
    sh -c "! printf '%s' \"\$1\" | grep -q '_NET_WM_STATE_SKIP_TASKBAR'" - "$app_props"
  check "the main window is not on the taskbar" \
    sh -c "printf '%s' \"\$1\" | grep -q '_NET_WM_STATE_SKIP_TASKBAR'" - "$main_props"
  owner=$(printf '%s\n' "$main_props" | sed -n 's/^WM_TRANSIENT_FOR(WINDOW): window id # //p')
  check "the main window is transient for the application window" \
    test "$(printf '%d' "$owner")" -eq "$(printf '%d' "$app")"
fi

LC_ALL=ja_JP.UTF-8 wine taskkill /f /im nenga.exe >/dev/null 2>&1
wait
exit $fail
