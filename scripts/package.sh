#!/usr/bin/env bash
# Builds the Release configuration from scratch and writes the archive users
# download: dist/Quenlix-<version>-win64.zip with Quenlix.exe, 使用说明.txt,
# LICENSE.txt and SHA256SUMS; beside it the manifests for winget
# (dist/winget/) and scoop (dist/quenlix.json). Prints the archive's path.
# Quenlix.exe is signed when a certificate is given: scripts/release-files.sh
# says how, and which other settings it reads.
#
# Two runs on one commit write byte-identical files, whatever folder they
# build in: every date in them comes from SOURCE_DATE_EPOCH (by default the
# time of the last commit).
#
#   QUENLIX_RELEASE_TREE  build folder under build/ (default: release)
#   QUENLIX_DIST          folder the archive goes to (default: dist)
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$QUENLIX_ROOT/scripts/setup.sh"

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  if ! SOURCE_DATE_EPOCH=$(git -C "$QUENLIX_ROOT" log -1 --format=%ct 2>/dev/null) \
      || [ -z "$SOURCE_DATE_EPOCH" ]; then
    echo "package: not a git checkout; set SOURCE_DATE_EPOCH to the release time" >&2
    exit 1
  fi
fi
export SOURCE_DATE_EPOCH

version=$(sed -n -E 's/^project\(Quenlix VERSION ([0-9.]+).*/\1/p' "$QUENLIX_ROOT/CMakeLists.txt")
[ -n "$version" ] || { echo "package: no version in CMakeLists.txt" >&2; exit 1; }

tree="${QUENLIX_RELEASE_TREE:-release}"
dist="${QUENLIX_DIST:-$QUENLIX_ROOT/dist}"

# A release never reuses objects or cache entries from an earlier build.
rm -rf "${QUENLIX_BUILD:?}/$tree"
configure_and_build "$tree" Quenlix \
  -DCMAKE_TOOLCHAIN_FILE="$QUENLIX_ROOT/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF

"$QUENLIX_ROOT/scripts/release-files.sh" "$QUENLIX_BUILD/$tree/Quenlix.exe" "$version" \
  "$QUENLIX_BUILD/$tree/package" "$dist"
