#!/usr/bin/env bash
# Builds the Release configuration from scratch and writes the archive users
# download: dist/Quenlix-<version>-win64.zip with Quenlix.exe, 使用说明.txt,
# LICENSE.txt and SHA256SUMS. Prints the archive's path.
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
archive="$dist/Quenlix-$version-win64.zip"

# A release never reuses objects or cache entries from an earlier build.
rm -rf "${QUENLIX_BUILD:?}/$tree"
configure_and_build "$tree" Quenlix \
  -DCMAKE_TOOLCHAIN_FILE="$QUENLIX_ROOT/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF

stage="$QUENLIX_BUILD/$tree/package"
mkdir -p "$stage" "$dist"
cp "$QUENLIX_BUILD/$tree/Quenlix.exe" "$stage/Quenlix.exe"

# Text files for Notepad: CRLF line ends, and the user notes with a BOM, since
# without one Notepad on a Chinese system reads UTF-8 as GBK. The sources stay
# plain LF UTF-8 so that git and editors leave them alone.
to_crlf() { sed -e '1s/^\xEF\xBB\xBF//' -e 's/\r$//' -e 's/$/\r/' "$1"; }
{ printf '\xEF\xBB\xBF'; to_crlf "$QUENLIX_ROOT/packaging/使用说明.txt"; } >"$stage/使用说明.txt"
to_crlf "$QUENLIX_ROOT/LICENSE" >"$stage/LICENSE.txt"

files=(Quenlix.exe 使用说明.txt LICENSE.txt)
(cd "$stage" && sha256sum "${files[@]}" >SHA256SUMS)
files+=(SHA256SUMS)

# Python's zipfile rather than Info-ZIP: only it marks the Chinese name as
# UTF-8 (flag bit 11), without which Explorer on a Chinese system shows it
# garbled. Every entry gets the same date, fixed modes and no extra fields,
# in the order given, so the bytes depend on the files' contents alone.
rm -f "$archive.new"
python3 - "$stage" "$archive.new" "$SOURCE_DATE_EPOCH" "${files[@]}" <<'PY'
import sys, time, zipfile
stage, archive, epoch, names = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4:]
date = time.gmtime(max(epoch, 315532800))[:6]  # zip dates start in 1980
with zipfile.ZipFile(archive, "w") as z:
    for name in names:
        info = zipfile.ZipInfo(name, date)
        info.create_system = 3  # Unix, so that the modes below are read
        info.external_attr = (0o100755 if name.endswith(".exe") else 0o100644) << 16
        info.compress_type = zipfile.ZIP_DEFLATED
        with open(f"{stage}/{name}", "rb") as f:
            z.writestr(info, f.read(), compresslevel=9)
PY
mv -f "$archive.new" "$archive"
echo "$archive"
