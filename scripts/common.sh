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

# Uses the display in DISPLAY, or starts Xvfb on a free one; the server is
# stopped when the calling script exits.
QUENLIX_XVFB_PID=
ensure_display() {
  if [ -n "${DISPLAY:-}" ]; then return; fi
  local n=91
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  QUENLIX_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && return; sleep 0.1; done
  echo "Xvfb did not start" >&2; return 1
}

# One wineserver for the whole run: without it every program pays Wine's
# start-up, and Wine's services would inherit (and hold open) our output.
start_wine() {
  mkdir -p "$QUENLIX_BUILD"
  # wineboot makes the prefix on first use; its output goes nowhere, so that
  # the services it leaves running hold none of our pipes.
  LC_ALL=$QUENLIX_WINE_LOCALE wineboot -i >/dev/null 2>&1 </dev/null || true
  LC_ALL=$QUENLIX_WINE_LOCALE wineserver -p >/dev/null 2>&1 </dev/null || true
  # The first program that touches the desktop starts Wine's desktop process,
  # which lives on holding that program's output open; inside CTest that is
  # the first test, which then never ends. Start it here, with nothing to hold.
  LC_ALL=$QUENLIX_WINE_LOCALE wine rundll32.exe user32.dll,GetDesktopWindow >/dev/null 2>&1 </dev/null || true
}

stop_all() {
  wineserver -k 2>/dev/null || true
  if [ -n "$QUENLIX_XVFB_PID" ]; then kill "$QUENLIX_XVFB_PID" 2>/dev/null || true; fi
}
