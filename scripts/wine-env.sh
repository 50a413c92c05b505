# Sourced by the scripts: the project's own Wine prefix and locale, and the
# one way they start a Windows program (wine_run).
# QUENLIX_BUILD names the build folder that holds the prefix.
: "${QUENLIX_BUILD:=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build}"
export WINEPREFIX="$QUENLIX_BUILD/wineprefix"
export WINEARCH=win64
# No Mono or Gecko installers: nothing may wait for a click.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all
# zh_CN.UTF-8 makes Wine's ANSI code page 936 while Unix paths stay UTF-8.
# Only Wine gets it: the compilers keep their own language.
QUENLIX_WINE_LOCALE=zh_CN.UTF-8

# wine_run PROGRAM [ARGUMENTS...]: runs a Windows program under Wine in
# WINEPREFIX with the Chinese locale and returns its exit status. Standard
# input is /dev/null; what it writes goes to two files, printed (stdout to
# stdout, stderr to stderr) once the program has ended.
#
# Never a pipe: Wine's own processes (the server, the desktop, the services,
# and whatever the program starts: Notepad, Explorer, cmd) inherit the
# output they are given and keep it open long after the program has ended.
# Whoever reads a pipe to its end (CTest, `| tee`, `$(...)`) would wait for
# them, and CTest reports such a wait as a timeout of a test that passed. A
# file has no reader to keep waiting.
wine_run() {
  local out err status=0
  out=$(mktemp "${TMPDIR:-/tmp}/quenlix-wine.XXXXXX") || return 125
  err=$(mktemp "${TMPDIR:-/tmp}/quenlix-wine.XXXXXX") || { rm -f "$out"; return 125; }
  LC_ALL=$QUENLIX_WINE_LOCALE wine "$@" </dev/null >"$out" 2>"$err" || status=$?
  cat "$out"
  cat "$err" >&2
  rm -f "$out" "$err"
  return "$status"
}
