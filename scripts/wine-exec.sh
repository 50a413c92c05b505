#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, in the project's prefix.
# CMake uses it as the emulator for the Windows test programs.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
LC_ALL=$QUENLIX_WINE_LOCALE exec wine "$@"
