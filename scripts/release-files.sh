#!/usr/bin/env bash
# Makes a release's files from a built Quenlix.exe: signs the program when a
# certificate is given, writes the archive users download, and beside it the
# manifests with which winget and scoop install that archive. Prints the
# archive's path. scripts/package.sh runs it on a clean build; the release
# checks run it once more with a throwaway certificate.
#
# Usage: scripts/release-files.sh QUENLIX.EXE VERSION STAGE DIST
#   STAGE  an empty folder for the files that go into the archive
#   DIST   where Quenlix-VERSION-win64.zip, winget/ and quenlix.json go
# SOURCE_DATE_EPOCH dates every file, so that the same program and the same
# settings give the same bytes.
#
# Authenticode signature (SHA-256 digest), made by osslsigncode, with either
#   QUENLIX_SIGN_PFX             a PKCS#12 file with the key and its certificates
#   QUENLIX_SIGN_PASSWORD_FILE   the file that holds its password
# or, for a hardware token or a cloud signing service,
#   QUENLIX_SIGN_PKCS11          the PKCS#11 module (.so) that reaches the key
#   QUENLIX_SIGN_KEY             the key's pkcs11: URI
#   QUENLIX_SIGN_CERTS           the certificate chain, PEM
#   QUENLIX_SIGN_PASSWORD_FILE   the token's PIN, if it asks for one
# and in both cases, optionally,
#   QUENLIX_SIGN_TIMESTAMP_URL   an RFC 3161 time-stamp server, so that the
#                                signature outlives the certificate
# Without a certificate the program stays unsigned, and one line says so.
#
#   QUENLIX_RELEASE_URL  the address of the folder this version's archive is
#                        published in, e.g.
#                        https://github.com/OWNER/quenlix/releases/download/v1.00
#                        Unset, the manifests name a placeholder under
#                        RELEASE-URL-NOT-SET.invalid.
set -euo pipefail
[ $# -eq 4 ] || { echo "usage: $0 QUENLIX.EXE VERSION STAGE DIST" >&2; exit 2; }
exe="$1" version="$2" stage="$3" dist="$4"
: "${SOURCE_DATE_EPOCH:?release-files: set SOURCE_DATE_EPOCH to the release time}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
name="Quenlix-$version-win64.zip"
archive="$dist/$name"
die() { echo "release-files: $*" >&2; exit 1; }

release_url="${QUENLIX_RELEASE_URL:-https://RELEASE-URL-NOT-SET.invalid/v$version}"
release_url="${release_url%/}"
[[ "$release_url" =~ ^https?://[^/]+ ]] || die "QUENLIX_RELEASE_URL is no http(s) address: $release_url"
[ -n "${QUENLIX_RELEASE_URL:-}" ] ||
  echo "release-files: QUENLIX_RELEASE_URL is not set: the manifests download from a placeholder, $release_url/$name" >&2

mkdir -p "$stage" "$dist"

# --- the signature ---
sign_with=()
if [ -n "${QUENLIX_SIGN_PFX:-}" ] && [ -n "${QUENLIX_SIGN_PKCS11:-}" ]; then
  die "give QUENLIX_SIGN_PFX or QUENLIX_SIGN_PKCS11, not both"
elif [ -n "${QUENLIX_SIGN_PFX:-}" ]; then
  # A half-given certificate is a mistake to stop at, not a reason to ship
  # the program unsigned.
  [ -n "${QUENLIX_SIGN_PASSWORD_FILE:-}" ] || die "QUENLIX_SIGN_PFX needs QUENLIX_SIGN_PASSWORD_FILE"
  sign_with=(-pkcs12 "$QUENLIX_SIGN_PFX" -readpass "$QUENLIX_SIGN_PASSWORD_FILE")
  signer="the certificate in $QUENLIX_SIGN_PFX"
elif [ -n "${QUENLIX_SIGN_PKCS11:-}" ]; then
  [ -n "${QUENLIX_SIGN_KEY:-}" ] && [ -n "${QUENLIX_SIGN_CERTS:-}" ] ||
    die "QUENLIX_SIGN_PKCS11 needs QUENLIX_SIGN_KEY (the key's pkcs11: URI) and QUENLIX_SIGN_CERTS (PEM)"
  # osslsigncode reaches the module through OpenSSL's PKCS#11 engine;
  # older versions must be told where it is.
  engine=$(ls /usr/lib/*/engines-3/pkcs11.so 2>/dev/null | head -n 1 || true)
  sign_with=(${engine:+-pkcs11engine "$engine"} -pkcs11module "$QUENLIX_SIGN_PKCS11"
             -key "$QUENLIX_SIGN_KEY" -certs "$QUENLIX_SIGN_CERTS")
  [ -z "${QUENLIX_SIGN_PASSWORD_FILE:-}" ] || sign_with+=(-readpass "$QUENLIX_SIGN_PASSWORD_FILE")
  signer="the key $QUENLIX_SIGN_KEY"
fi
rm -f "$stage/Quenlix.exe"
if [ ${#sign_with[@]} -gt 0 ]; then
  stamp=() stamped="without a time stamp"
  if [ -n "${QUENLIX_SIGN_TIMESTAMP_URL:-}" ]; then
    stamp=(-ts "$QUENLIX_SIGN_TIMESTAMP_URL") stamped="time-stamped by $QUENLIX_SIGN_TIMESTAMP_URL"
  fi
  # -n is the name the consent prompt shows for a signed program. osslsigncode
  # stores it as ASCII text, where Chinese would come out garbled.
  osslsigncode sign "${sign_with[@]}" -h sha256 "${stamp[@]}" -n "Quenlix" \
    -in "$exe" -out "$stage/Quenlix.exe" >&2 || die "osslsigncode could not sign Quenlix.exe"
  echo "release-files: Quenlix.exe signed (Authenticode, SHA-256) with $signer, $stamped" >&2
else
  cp "$exe" "$stage/Quenlix.exe"
  echo "release-files: no certificate given (QUENLIX_SIGN_PFX or QUENLIX_SIGN_PKCS11): Quenlix.exe is unsigned" >&2
fi

# --- the archive ---
# Text files for Notepad: CRLF line ends, and the user notes with a BOM, since
# without one Notepad on a Chinese system reads UTF-8 as GBK. The sources stay
# plain LF UTF-8 so that git and editors leave them alone.
to_crlf() { sed -e '1s/^\xEF\xBB\xBF//' -e 's/\r$//' -e 's/$/\r/' "$1"; }
{ printf '\xEF\xBB\xBF'; sed "s/@VERSION@/$version/g" "$root/packaging/使用说明.txt" >"$stage/notes.tmp"
  to_crlf "$stage/notes.tmp"; } >"$stage/使用说明.txt"
rm -f "$stage/notes.tmp"
to_crlf "$root/LICENSE" >"$stage/LICENSE.txt"

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

# --- the manifests ---
# Both install the archive as a portable program started as `quenlix`.
# winget: a manifest set as its community repository takes it, in
# winget/Quenlix.Quenlix/VERSION/; scoop: quenlix.json.
python3 - "$archive" "$version" "$release_url" "$dist" "$SOURCE_DATE_EPOCH" <<'PY'
import hashlib, json, os, re, sys, time
archive, version, release_url, dist, epoch = sys.argv[1:6]
name = os.path.basename(archive)
url = f"{release_url}/{name}"
sha256 = hashlib.sha256(open(archive, "rb").read()).hexdigest()
day = time.strftime("%Y-%m-%d", time.gmtime(int(epoch)))

# Where newer versions are found: a GitHub project's releases, or else the
# page above a folder named for the version (or the folder itself).
github = re.match(r"^(https://github\.com/[^/]+/[^/]+)/releases/", release_url)
if github:
    homepage = github.group(1)
    checkver = {"github": homepage}
else:
    homepage = release_url.rsplit("/", 1)[0] if version in release_url.rsplit("/", 1)[1] else release_url
    checkver = {"url": homepage, "regex": r"Quenlix-([\d.]+)-win64\.zip"}

summary = {
    "zh-CN": ("查看、编辑、查找、备份和还原 Windows 的 hosts 文件",
              "Quenlix.exe 是一个小巧的 Windows 原生工具，用来查看、编辑、查找、备份和还原系统的 hosts 文件。"
              "界面为简体中文，只有一个程序文件，无需安装。没有管理员权限时，修改会经 Windows 的确认提示以管理员身份完成。"),
    "en-US": ("View, edit, search, back up and reset the Windows hosts file",
              "Quenlix.exe is a small native Windows tool to view, edit, search, back up and reset the system's hosts "
              "file. Its interface is in Simplified Chinese; it is a single file and needs no setup. Without "
              "administrator rights, a change is completed as administrator through Windows' consent prompt."),
}

def yaml(kind, fields):
    # JSON strings are YAML scalars too: every value is quoted, so that a
    # version such as 1.00 stays text and never becomes the number 1.0.
    lines = ["# Written by scripts/package.sh",
             f"# yaml-language-server: $schema=https://aka.ms/winget-manifest.{kind}.1.6.0.schema.json", ""]
    def put(key, value, indent):
        pad = " " * indent
        if isinstance(value, list):
            lines.append(f"{pad}{key}:")
            for item in value:
                if isinstance(item, dict):
                    first = True
                    for k, v in item.items():
                        lines.append(f"{pad}- {k}: {json.dumps(v, ensure_ascii=False)}" if first
                                     else f"{pad}  {k}: {json.dumps(v, ensure_ascii=False)}")
                        first = False
                else:
                    lines.append(f"{pad}- {json.dumps(item, ensure_ascii=False)}")
        else:
            lines.append(f"{pad}{key}: {json.dumps(value, ensure_ascii=False)}")
    for key, value in fields.items():
        put(key, value, 0)
    return "\n".join(lines) + "\n"

ident = "Quenlix.Quenlix"
head = {"PackageIdentifier": ident, "PackageVersion": version}
tail = {"ManifestVersion": "1.6.0"}
locale = lambda tag, kind: {**head, "PackageLocale": tag, "Publisher": "Quenlix", "PackageName": "Quenlix",
                            "PackageUrl": homepage, "License": "MIT", "Copyright": "Copyright (c) 2026 Quenlix",
                            "ShortDescription": summary[tag][0], "Description": summary[tag][1],
                            **({"Moniker": "quenlix", "Tags": ["hosts", "dns"]} if kind == "defaultLocale" else {}),
                            "ManifestType": kind, **tail}
winget = {
    f"{ident}.yaml": ("version", {**head, "DefaultLocale": "zh-CN", "ManifestType": "version", **tail}),
    f"{ident}.installer.yaml": ("installer", {
        **head, "InstallerType": "zip", "NestedInstallerType": "portable",
        "NestedInstallerFiles": [{"RelativeFilePath": "Quenlix.exe", "PortableCommandAlias": "quenlix"}],
        "ReleaseDate": day,
        "Installers": [{"Architecture": "x64", "InstallerUrl": url, "InstallerSha256": sha256.upper()}],
        "ManifestType": "installer", **tail}),
    f"{ident}.locale.zh-CN.yaml": ("defaultLocale", locale("zh-CN", "defaultLocale")),
    f"{ident}.locale.en-US.yaml": ("locale", locale("en-US", "locale")),
}
folder = os.path.join(dist, "winget", ident, version)
os.makedirs(folder, exist_ok=True)
for file, (kind, fields) in winget.items():
    with open(os.path.join(folder, file), "w", encoding="utf-8", newline="\n") as f:
        f.write(yaml(kind.lower(), fields))

scoop = {
    "version": version,
    "description": summary["zh-CN"][0] + " / " + summary["en-US"][0],
    "homepage": homepage,
    "license": "MIT",
    "architecture": {"64bit": {"url": url, "hash": sha256}},
    "bin": [["Quenlix.exe", "quenlix"]],
    "shortcuts": [["Quenlix.exe", "Quenlix"]],
    "checkver": checkver,
    "autoupdate": {"architecture": {"64bit": {"url": url.replace(version, "$version")}}},
}
with open(os.path.join(dist, "quenlix.json"), "w", encoding="utf-8", newline="\n") as f:
    f.write(json.dumps(scoop, ensure_ascii=False, indent=4) + "\n")
PY
echo "$archive"
