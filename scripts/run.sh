#!/usr/bin/env bash
# Builds Quenlix.exe and starts it under Wine with a Simplified Chinese locale.
# With a display in DISPLAY the program runs there until its window is closed;
# without one it runs under Xvfb, a screenshot of its window is saved and its
# path printed, and the program is closed.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$QUENLIX_ROOT/scripts/setup.sh"
build_windows Quenlix >/dev/null

headless=false
[ -n "${DISPLAY:-}" ] || headless=true
ensure_display
trap stop_all EXIT
start_wine

exe="$QUENLIX_BUILD/windows/Quenlix.exe"
if ! $headless; then
  LC_ALL=$QUENLIX_WINE_LOCALE wine "$exe"
  exit 0
fi

LC_ALL=$QUENLIX_WINE_LOCALE wine "$exe" >/dev/null 2>&1 &
for _ in $(seq 150); do
  xdotool search --name '^Hosts' >/dev/null 2>&1 && break
  sleep 0.2
done
sleep 1  # let the window finish painting
shot="$QUENLIX_BUILD/screenshots/quenlix.png"
mkdir -p "$(dirname "$shot")"
import -window root "$shot"
echo "$shot"
