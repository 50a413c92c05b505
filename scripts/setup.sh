#!/usr/bin/env bash
# Installs everything the build, the run and the tests need, with apt-get.
# Idempotent: a second run installs nothing new and finishes in seconds.
set -euo pipefail

packages=(
  cmake g++ make ninja-build googletest libgtest-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth x11-utils imagemagick fonts-wqy-microhei locales
  icoutils xdotool python3 valgrind
  clang libclang-rt-14-dev libbenchmark-dev hyperfine
  osslsigncode openssl libengine-pkcs11-openssl softhsm2 python3-yaml
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine reads its ANSI code page from the locale: zh_CN.UTF-8 gives 936 while
# Unix paths and arguments stay UTF-8.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
