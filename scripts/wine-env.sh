# Sourced by the scripts: the project's own Wine prefix and locale.
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
