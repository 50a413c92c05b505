#!/usr/bin/env bash
# Checks the release archive: builds it twice from scratch in two folders and
# compares, then checks what it holds, what the program imports and how big
# it is. Prints one "PASS <check>: ..." or "FAIL <check>: ..." line per
# check (scripts/test.sh counts them), then the size report.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
set +e  # every check runs and reports, whatever the others did

start=$SECONDS
pass() { echo "PASS $1: $2"; }
fail() { echo "FAIL $1: $2"; failures=$((failures + 1)); }
failures=0

# Two clean builds of the same tree in two folders. Everything they write
# must be equal: a difference is a date, a path or some other state of the
# build machine leaking into the release.
mkdir -p "$QUENLIX_BUILD"
built=true
for n in a b; do
  log="$QUENLIX_BUILD/release-$n.log"
  if ! QUENLIX_RELEASE_TREE="release-$n" QUENLIX_DIST="$QUENLIX_BUILD/release-$n/dist" \
       "$QUENLIX_ROOT/scripts/package.sh" >"$log" 2>&1; then
    echo "package in build/release-$n failed:" >&2; tail -n 40 "$log" >&2
    built=false
  fi
done
a="$QUENLIX_BUILD/release-a"; b="$QUENLIX_BUILD/release-b"
exe="$a/Quenlix.exe"
zip=$(ls "$a"/dist/Quenlix-*-win64.zip 2>/dev/null | head -n 1)
if ! $built || [ ! -f "$exe" ] || [ -z "$zip" ]; then
  for check in reproducible archive imports known-dll-imports tsaware size; do fail "$check" "the release did not build"; done
  echo "release checks took $((SECONDS - start)) s"
  exit 1
fi

# --- reproducible: byte-identical exe and zip, no build folder inside ---
diffs=()
cmp "$a/Quenlix.exe" "$b/Quenlix.exe" || diffs+=(Quenlix.exe)
cmp "$zip" "$b/dist/$(basename "$zip")" || diffs+=("$(basename "$zip")")
# Both builds share the source folder, so comparing them cannot catch it in
# the program: look for it, and for the build folder, as text of either width.
leaks=$( { x86_64-w64-mingw32-strings -a "$exe"; x86_64-w64-mingw32-strings -a -e l "$exe"; } \
         | grep -F -e "$QUENLIX_ROOT" -e "$QUENLIX_BUILD" | sort -u | head -n 3)
# Windows reads no meaning into the PE header's link time; zero says plainly
# that there is none to compare.
stamp=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n -E 's/^Time\/Date\s+//p')
if [ ${#diffs[@]} -gt 0 ]; then
  fail reproducible "two clean builds differ in: ${diffs[*]}"
elif [ "$(TZ=UTC date -d "$stamp" +%s 2>/dev/null)" != 0 ]; then
  fail reproducible "the PE header holds a link time: $stamp"
elif [ -n "$leaks" ]; then
  fail reproducible "the program holds a build path: $leaks"
else
  pass reproducible "Quenlix.exe and $(basename "$zip") byte-identical from build/release-a and build/release-b"
fi

# --- archive: the four files, in order, with sums that match ---
if out=$(python3 - "$zip" "$exe" <<'PY' 2>&1
import hashlib, sys, zipfile
archive, exe = sys.argv[1], sys.argv[2]
want = ["Quenlix.exe", "使用说明.txt", "LICENSE.txt", "SHA256SUMS"]
z = zipfile.ZipFile(archive)
names = z.namelist()
assert names == want, f"holds {names}, not {want}"
assert all(i.flag_bits & 0x800 for i in z.infolist() if not i.filename.isascii()), \
    "a non-ASCII name is not marked as UTF-8"
assert z.testzip() is None, "a member fails its CRC"
data = {n: z.read(n) for n in names}
assert data["Quenlix.exe"] == open(exe, "rb").read(), "Quenlix.exe is not the program just built"
sums = {}
for line in data["SHA256SUMS"].decode("utf-8").splitlines():
    digest, name = line.split("  ", 1)
    sums[name] = digest
assert sorted(sums) == sorted(want[:3]), f"SHA256SUMS lists {sorted(sums)}"
for name, digest in sums.items():
    assert hashlib.sha256(data[name]).hexdigest() == digest, f"SHA256SUMS is wrong for {name}"
notes = data["使用说明.txt"]
assert notes.startswith(b"\xef\xbb\xbf"), "使用说明.txt has no UTF-8 BOM"
notes.decode("utf-8")
for name in ("使用说明.txt", "LICENSE.txt"):
    text = data[name]
    assert text.endswith(b"\r\n") and text.count(b"\n") == text.count(b"\r\n"), f"{name} is not CRLF throughout"
assert b"MIT License" in data["LICENSE.txt"] and b"Copyright (c) 2026 Quenlix" in data["LICENSE.txt"], \
    "LICENSE.txt is not the MIT licence of Quenlix"
for caption in ["刷新", "保存到 Hosts", "备份 Host", "Hosts 备份还原", "测试功能 →", "还原默认 Hosts",
                "打开所在文件夹", "记事本打开Hosts", "获取访问限权", "追加Text2", "追加Text2+Text3",
                "判断是否重复 追加", "查找=Text2 显示相同", "查找含Text2 显示", "查找含Text2 全部显示"]:
    assert f"\r\n{caption}\r\n".encode() in notes, f"使用说明.txt does not describe the button {caption}"
print(", ".join(f"{n} {len(data[n])} B" for n in names))
PY
); then
  pass archive "$out"
else
  fail archive "$(tail -n 1 <<<"$out")"
fi

# --- imports: Windows' own DLLs only ---
# A MinGW runtime DLL here (libstdc++-6, libgcc_s_seh-1, libwinpthread-1)
# would make the program fail to start on a machine without MinGW.
system_dlls=" kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll advapi32.dll shell32.dll
  shlwapi.dll ole32.dll oleaut32.dll uxtheme.dll version.dll ntdll.dll msvcrt.dll ucrtbase.dll "
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n -E 's/^\s*DLL Name: (.*)$/\1/p' | tr 'A-Z' 'a-z' | sort -u)
foreign=()
for dll in $imports; do
  case "$dll" in api-ms-win-crt-*.dll|api-ms-win-core-*.dll) continue ;; esac
  [[ "$system_dlls" == *" $dll "* ]] || foreign+=("$dll")
done
if [ -z "$imports" ] || ! grep -qx kernel32.dll <<<"$imports"; then
  fail imports "could not read the import table"
elif [ ${#foreign[@]} -gt 0 ]; then
  fail imports "imports ${foreign[*]}, which Windows does not ship"
else
  pass imports "$(echo $imports)"
fi

# --- win7-imports: no function that Windows 7 SP1, the oldest the manifest names, lacks ---
python3 "$QUENLIX_ROOT/scripts/check-win7-imports.py" "$exe" || failures=$((failures + 1))

# --- known-dll-imports: nothing the loader would look for beside the program ---
python3 "$QUENLIX_ROOT/scripts/check-known-dll-imports.py" "$exe" || failures=$((failures + 1))

# --- tsaware: the PE header marks the program as aware of terminal servers ---
# Without IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE (0x8000) a Remote
# Desktop host gives the program a Windows folder of the user's own, which the
# user can write, wherever it asks for the Windows folder.
flags=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n -E 's/^DllCharacteristics\s+([0-9a-fA-F]+).*/\1/p')
if [ -z "$flags" ]; then
  fail tsaware "could not read DllCharacteristics from the PE header"
elif (( (16#$flags & 0x8000) == 0 )); then
  fail tsaware "DllCharacteristics is 0x$flags: TERMINAL_SERVER_AWARE (0x8000) is not set"
else
  pass tsaware "DllCharacteristics 0x$flags has TERMINAL_SERVER_AWARE (0x8000)"
fi

# --- size: under 600 KiB, and no heavy library part pulled in ---
limit=$((600 * 1024))
size=$(stat -c %s "$exe")
# iostreams and locales bring in every facet for every character type:
# hundreds of KiB for a program that never formats a stream.
heavy=$(grep -o -E 'libstdc\+\+\.a\((ios_init|locale_init|locale-inst|wlocale-inst|[a-z]*stream-inst|regex)\.o\)' \
          "$a/Quenlix.map" | sort -u | tr '\n' ' ')
if ! report=$("$QUENLIX_ROOT/scripts/size-report.sh" "$a" 2>&1); then
  fail size "no size report: $(tail -n 1 <<<"$report")"
elif [ "$size" -ge "$limit" ]; then
  fail size "Quenlix.exe is $size bytes, over the $limit limit (see the report below)"
elif [ -n "$heavy" ]; then
  fail size "libstdc++ parts for streams or locales are linked in: $heavy(see the report below)"
else
  pass size "Quenlix.exe is $size bytes ($((size * 100 / limit))% of $limit)"
fi

echo "release checks took $((SECONDS - start)) s"
echo
echo "$report"
[ "$failures" -eq 0 ]
