#!/usr/bin/env bash
# Checks the release archive: builds it twice from scratch in two folders and
# compares, then checks what it holds, its manifests, what the program imports,
# how big it is, and its signing. Prints one "PASS <check>: ..." or "FAIL
# <check>: ..." line per check (scripts/test.sh counts them), then the size report.
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
  for check in reproducible archive imports known-dll-imports tsaware size unsigned signed signed-pkcs11 \
               signature-strips signed-starts winget-manifest scoop-manifest; do
    fail "$check" "the release did not build"
  done
  echo "release checks took $((SECONDS - start)) s"
  exit 1
fi

# --- reproducible: byte-identical exe and zip, no build folder inside ---
diffs=()
cmp "$a/Quenlix.exe" "$b/Quenlix.exe" || diffs+=(Quenlix.exe)
diff -r -q "$a/dist" "$b/dist" >/dev/null || diffs+=("$(basename "$zip") or the manifests")
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
  pass reproducible "Quenlix.exe, $(basename "$zip") and the manifests byte-identical from build/release-a and build/release-b"
fi

# --- archive: the four files, in order, with sums that match ---
check_archive() {  # zip, the exe it must hold
  python3 - "$1" "$2" <<'PY' 2>&1
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
for how in ["Quenlix.exe", "winget install Quenlix.Quenlix", "scoop install", "已验证的发布者", "SHA256SUMS"]:
    assert how.encode() in notes.split("一、".encode())[0], f"使用说明.txt does not begin with how to use {how}"
print(", ".join(f"{n} {len(data[n])} B" for n in names))
PY
}
if out=$(check_archive "$zip" "$exe"); then
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

version=$(sed -n -E 's/^project\(Quenlix VERSION ([0-9.]+).*/\1/p' "$QUENLIX_ROOT/CMakeLists.txt")
signing_start=$SECONDS

# --- unsigned: without a certificate the release says so once, and is not signed ---
if [ "$(grep -c 'Quenlix.exe is unsigned' "$QUENLIX_BUILD/release-a.log")" = 1 ] &&
   ! osslsigncode extract-signature -in "$exe" -out "$a/signature.der" >/dev/null 2>&1; then
  pass unsigned "package.sh says so in one line, and Quenlix.exe holds no signature"
else
  fail unsigned "package.sh did not say once that Quenlix.exe is unsigned, or it holds a signature"
fi

# --- signed: a throwaway code-signing certificate signs the same program ---
# package.sh's release step on build/release-a's program, with a GitHub address for the manifests.
s="$QUENLIX_BUILD/release-signed"; signed="$s/package/Quenlix.exe"
release_url="https://github.com/quenlix/quenlix/releases/download/v$version"
rm -rf "$s"; mkdir -p "$s"; echo throwaway >"$s/password"
if openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Quenlix Throwaway Signer" \
     -addext keyUsage=critical,digitalSignature -addext extendedKeyUsage=codeSigning \
     -keyout "$s/key.pem" -out "$s/cert.pem" >"$s/log" 2>&1 &&
   openssl pkcs12 -export -inkey "$s/key.pem" -in "$s/cert.pem" -passout "file:$s/password" -out "$s/cert.pfx" &&
   QUENLIX_SIGN_PFX="$s/cert.pfx" QUENLIX_SIGN_PASSWORD_FILE="$s/password" QUENLIX_RELEASE_URL="$release_url" \
   SOURCE_DATE_EPOCH="$(stat -c %Y "$zip")" \
     "$QUENLIX_ROOT/scripts/release-files.sh" "$exe" "$version" "$s/package" "$s/dist" >>"$s/log" 2>&1; then
  verified=$(osslsigncode verify -CAfile "$s/cert.pem" -in "$signed" 2>&1)
  if [ $? -ne 0 ] || ! grep -q 'Signature verification: ok' <<<"$verified" ||
     ! grep -q -E '^Message digest algorithm *: SHA256' <<<"$verified"; then
    fail signed "osslsigncode verify refuses it, or the digest is not SHA-256: $(grep -i -m 1 -E 'fail|mismatch' <<<"$verified")"
  elif ! out=$(check_archive "$s/dist/Quenlix-$version-win64.zip" "$signed"); then
    fail signed "the signed archive: $(tail -n 1 <<<"$out")"
  else
    pass signed "osslsigncode verify: SHA-256 digest of the whole program, signature ok; the archive holds it"
  fi
else
  fail signed "no signed release: $(tail -n 1 "$s/log")"
fi

# --- signed-pkcs11: the same key reached through PKCS#11, with a SoftHSM token standing in for a hardware one ---
export SOFTHSM2_CONF="$s/softhsm2.conf"
mkdir -p "$s/tokens" && echo "directories.tokendir = $s/tokens" >"$SOFTHSM2_CONF" && echo 1234 >"$s/pin"
if softhsm2-util --init-token --free --label quenlix --pin 1234 --so-pin 5678 >>"$s/log" 2>&1 &&
   softhsm2-util --import "$s/key.pem" --token quenlix --label signer --id 01 --pin 1234 >>"$s/log" 2>&1 &&
   QUENLIX_SIGN_PKCS11=/usr/lib/softhsm/libsofthsm2.so QUENLIX_SIGN_KEY="pkcs11:token=quenlix;object=signer;type=private" \
   QUENLIX_SIGN_CERTS="$s/cert.pem" QUENLIX_SIGN_PASSWORD_FILE="$s/pin" SOURCE_DATE_EPOCH="$(stat -c %Y "$zip")" \
     "$QUENLIX_ROOT/scripts/release-files.sh" "$exe" "$version" "$s/token/package" "$s/token/dist" >>"$s/log" 2>&1 &&
   osslsigncode verify -CAfile "$s/cert.pem" -in "$s/token/package/Quenlix.exe" >>"$s/log" 2>&1; then
  pass signed-pkcs11 "signed through the PKCS#11 module, and osslsigncode verify accepts it"
else
  fail signed-pkcs11 "$(tail -n 1 "$s/log")"
fi

# --- signature-strips: the signature is all that signing adds ---
if osslsigncode remove-signature -in "$signed" -out "$s/stripped.exe" >/dev/null 2>&1 && cmp -s "$s/stripped.exe" "$exe"; then
  pass signature-strips "without its signature the signed Quenlix.exe is the unsigned build, byte for byte"
else
  fail signature-strips "the signed Quenlix.exe without its signature differs from the unsigned build"
fi

# --- signed-starts: the signed program starts under Wine and shows its window ---
ensure_display; window=
if [ -f "$signed" ] && start_wine; then
  wine_run "$signed" >/dev/null 2>&1 & program=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Hosts' 2>/dev/null | head -n 1)
  [ -z "$window" ] || import -window root "$s/window.png" 2>/dev/null
  stop_wine; wait "$program"
fi
if [ -n "$window" ]; then pass signed-starts "its window appeared (build/release-signed/window.png)"
else fail signed-starts "no window of the signed Quenlix.exe within 60 s, or no Wine"; fi

# --- winget-manifest, scoop-manifest: the fields, the address and the archive's SHA-256 ---
python3 "$QUENLIX_ROOT/scripts/check-manifests.py" \
  "$a/dist" "$version" "https://RELEASE-URL-NOT-SET.invalid/v$version/Quenlix-$version-win64.zip" \
  "$s/dist" "$version" "$release_url/Quenlix-$version-win64.zip" || failures=$((failures + 1))

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

echo "release checks took $((SECONDS - start)) s, of which $((SECONDS - signing_start)) s the signatures and manifests"
echo
echo "$report"
[ "$failures" -eq 0 ]
