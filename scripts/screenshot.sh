#!/usr/bin/env bash
# Takes the two pictures of the main window that the README shows: narrow, as
# the program opens, and wide, after a click on "测试功能 →".
# Usage: scripts/screenshot.sh [FOLDER]   (default: docs)
# Writes FOLDER/window-narrow.png and FOLDER/window-wide.png.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

out="${1:-$QUENLIX_ROOT/docs}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"

"$QUENLIX_ROOT/scripts/setup.sh"
build_windows

# A prefix of its own: Xvfb has no window manager, so Wine is told to draw
# the title bar and frame itself, and the window shows a sample hosts file
# instead of the one the tests use.
export WINEPREFIX="$QUENLIX_BUILD/screenshot-prefix"
ensure_display
start_wine
wine_run reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null

# The hosts file is ANSI text: code page 936 under the Chinese locale.
hosts="$WINEPREFIX/drive_c/windows/system32/drivers/etc/hosts"
mkdir -p "$(dirname "$hosts")"
printf '%s\r\n' \
  '# 本机' \
  '127.0.0.1 localhost' \
  '::1 localhost' \
  '' \
  '# 局域网' \
  '192.168.1.10 nas.lan' \
  '192.168.1.20 printer.lan' \
  | iconv -f UTF-8 -t GBK >"$hosts"

wine_run "$QUENLIX_BUILD/windows/Quenlix.exe" >/dev/null 2>&1 &

window="$(timeout 60 xdotool search --sync --onlyvisible --name '^Hosts' | head -n 1 || true)"
if [ -z "$window" ]; then echo "the window did not appear" >&2; exit 1; fi

geometry() {  # prints "width height" of the window
  xwininfo -id "$window" | awk '/^  Width:/ {w=$2} /^  Height:/ {h=$2} END {print w, h}'
}

sleep 2
xdotool mousemove 0 0
import -window "$window" "$out/window-narrow.png"

# Command10's middle, at 96 DPI: client (560, 277) pixels; the client area
# (462 pixels high) sits on the bottom frame, which is as thick as a side one.
read -r width height < <(geometry)
frame=$(( (width - 614) / 2 ))
xdotool mousemove --window "$window" $(( frame + 560 )) $(( height - frame - 462 + 277 )) click 1
for _ in $(seq 50); do
  read -r now _ < <(geometry)
  [ "$now" != "$width" ] && break
  sleep 0.2
done
if [ "$now" = "$width" ]; then echo "the window did not widen" >&2; exit 1; fi

sleep 1
xdotool mousemove 0 0
import -window "$window" "$out/window-wide.png"
echo "$out/window-narrow.png"
echo "$out/window-wide.png"
