#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, in the project's prefix,
# and exits with its status. CMake uses it as the emulator for the Windows
# test programs; CTest gets the program's output once it has ended, from a
# file (see wine_run), so nothing Wine leaves running can keep a test open.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
wine_run "$@"
