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
start_wine

exe="$QUENLIX_BUILD/windows/Quenlix.exe"
if ! $headless; then
  wine_run "$exe"
  exit
fi

log="$QUENLIX_BUILD/run.log"
wine_run "$exe" >"$log" 2>&1 &
program=$!
shown=false
for _ in $(seq 150); do
  if xdotool search --name '^Hosts' >/dev/null 2>&1; then shown=true; break; fi
  kill -0 "$program" 2>/dev/null || break
  sleep 0.2
done
if ! $shown; then
  echo "run: the window did not appear; the program's output ($log):" >&2
  cat "$log" >&2
  exit 1
fi
sleep 1  # let the window finish painting
shot="$QUENLIX_BUILD/screenshots/quenlix.png"
mkdir -p "$(dirname "$shot")"
import -window root "$shot"
echo "$shot"
