# Sourced by the scripts: where things are, the builds, the display and Wine.
set -euo pipefail
QUENLIX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export QUENLIX_BUILD="${QUENLIX_BUILD:-$QUENLIX_ROOT/build}"
source "$QUENLIX_ROOT/scripts/wine-env.sh"

generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)

configure_and_build() {  # name, target or "all", extra cmake arguments...
  local name="$1" target="$2"; shift 2
  cmake -S "$QUENLIX_ROOT" -B "$QUENLIX_BUILD/$name" "${generator[@]}" "$@" >/dev/null
  cmake --build "$QUENLIX_BUILD/$name" -j "$(nproc)" --target "$target"
}

build_windows() {  # target (default: everything), extra cmake arguments...
  configure_and_build windows "${1:-all}" -DCMAKE_TOOLCHAIN_FILE="$QUENLIX_ROOT/cmake/mingw-w64.cmake" "${@:2}"
}

build_native() {  # extra cmake arguments...
  configure_and_build native all "$@"
}

# Uses the display in DISPLAY, or starts Xvfb on a free one. Before it
# starts anything it arms stop_all for the calling script's exit (and turns
# Ctrl-C or a kill into an exit), so that neither Xvfb nor Wine outlives a
# script that fails or is stopped halfway. Calling it again changes nothing.
QUENLIX_XVFB_PID=
ensure_display() {
  trap stop_all EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  trap 'exit 129' HUP
  if [ -n "${DISPLAY:-}" ]; then return; fi
  local n=91
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  QUENLIX_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && return
    kill -0 "$QUENLIX_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "Xvfb did not start on :$n" >&2; return 1
}

# One persistent wineserver for the whole run, started before any Wine
# program. Without it each program pays Wine's start-up, and the server that
# the first program starts inherits that program's output and holds it open.
# The order matters: wineboot starts a server of its own when none runs, one
# that ends a few seconds after the last program, and a `wineserver -p` after
# it finds the prefix's lock taken and exits at once. So the persistent
# server comes first, and its exit status says whether it runs (2: another
# server holds the lock). wineboot then makes the prefix on first use.
start_wine() {
  stop_wine
  mkdir -p "$WINEPREFIX"
  local status=0
  LC_ALL=$QUENLIX_WINE_LOCALE wineserver -p </dev/null >/dev/null 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    local why="it did not start"
    [ "$status" -ne 2 ] || why="another wineserver holds the prefix's lock"
    echo "start_wine: no persistent wineserver for $WINEPREFIX:" \
         "'wineserver -p' exited with status $status ($why)" >&2
    return 1
  fi
  # Output nowhere, so that the services wineboot leaves running hold none
  # of our pipes.
  LC_ALL=$QUENLIX_WINE_LOCALE wineboot -i </dev/null >/dev/null 2>&1 || true
  # The first program that touches the desktop starts Wine's desktop process,
  # which lives on holding that program's output open. Start it here, with
  # nothing to hold.
  LC_ALL=$QUENLIX_WINE_LOCALE wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
}

# Ends the prefix's server, if one runs, and with it every Wine process of
# the prefix; returns once the server has gone, so that the next start_wine
# (or the next script) finds the prefix free.
stop_wine() {
  # wineserver makes no server folder for a prefix that does not exist, and
  # no server can run for one.
  [ -d "$WINEPREFIX" ] || return 0
  wineserver -k </dev/null >/dev/null 2>&1 || true
  timeout 60 wineserver -w </dev/null >/dev/null 2>&1 || true
  # The tests of a refused write make the prefix's hosts file immutable for
  # a while; one that was ended halfway must not leave it so.
  chattr -i "$WINEPREFIX/drive_c/windows/system32/drivers/etc/hosts" 2>/dev/null || true
}

stop_all() {
  stop_wine
  if [ -n "$QUENLIX_XVFB_PID" ]; then
    kill "$QUENLIX_XVFB_PID" 2>/dev/null || true
    wait "$QUENLIX_XVFB_PID" 2>/dev/null || true
    QUENLIX_XVFB_PID=
    unset DISPLAY
  fi
}
