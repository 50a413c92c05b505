#!/usr/bin/env python3
"""check-manifests.py DIST VERSION URL...: the winget and scoop manifests beside DIST/Quenlix-VERSION-win64.zip have the
fields their schemas require (written out here: no Debian or npm package carries them), URL and the archive's SHA-256."""
import hashlib, json, os, re, sys
import yaml

ID = r"[^.\s\\/:*?\"<>|\x01-\x1f]{1,32}(\.[^.\s\\/:*?\"<>|\x01-\x1f]{1,32}){1,7}"
BASE = {"PackageIdentifier", "PackageVersion", "ManifestType", "ManifestVersion"}
WINGET = {  # kind: (file name ending, further required fields, values some fields must have)
    "version": ("", {"DefaultLocale"}, {"DefaultLocale": "zh-CN"}),
    "installer": (".installer", {"Installers"}, {"InstallerType": "zip", "NestedInstallerType": "portable",
                  "NestedInstallerFiles": [{"RelativeFilePath": "Quenlix.exe", "PortableCommandAlias": "quenlix"}]}),
    "defaultLocale": (".locale.zh-CN", {"PackageLocale", "Publisher", "PackageName", "License", "ShortDescription"},
                      {"PackageLocale": "zh-CN"}),
    "locale": (".locale.en-US", {"PackageLocale", "ShortDescription"}, {"PackageLocale": "en-US"})}
SCOOP_KEYS = {"version", "description", "homepage", "license", "architecture", "bin", "shortcuts", "checkver", "autoupdate"}


def check_winget(dist, version, url, digest):
    folder = os.path.join(dist, "winget", "Quenlix.Quenlix", version)
    names, loaded = sorted(os.listdir(folder)), {}
    assert names == sorted(f"Quenlix.Quenlix{w[0]}.yaml" for w in WINGET.values()), f"{folder} holds {names}"
    for kind, (ending, required, values) in WINGET.items():
        text = open(os.path.join(folder, f"Quenlix.Quenlix{ending}.yaml"), encoding="utf-8").read()
        m, where = loaded.setdefault(kind, yaml.safe_load(text)), f"the {kind} manifest"
        assert BASE | required <= m.keys(), f"{where} lacks {sorted(BASE | required - m.keys())}"
        assert all(m.get(k) == v for k, v in values.items()), f"{where} does not have {values}"
        assert m["ManifestType"] == kind and re.fullmatch(ID, m["PackageIdentifier"]), f"{where}: type or identifier"
        assert m["PackageVersion"] == version, f"{where} has version {m['PackageVersion']!r}, not {version!r}"
        assert tuple(map(int, m["ManifestVersion"].split("."))) >= (1, 6, 0), f"{where} is older than schema 1.6"
        assert f"winget-manifest.{kind.lower()}.{m['ManifestVersion']}.schema.json" in text, f"{where} names no schema"
    for i in loaded["installer"]["Installers"]:
        assert i["Architecture"] == "x64" and i["InstallerUrl"] == url, f"the installer: {i['InstallerUrl']}"
        assert i["InstallerSha256"].lower() == digest, "the installer's SHA-256 is not the archive's"
    return f"4 files, schema {m['ManifestVersion']}"


def check_scoop(dist, version, url, digest):
    m = json.load(open(os.path.join(dist, "quenlix.json"), encoding="utf-8"))
    assert m.keys() <= SCOOP_KEYS, f"fields scoop does not know: {sorted(m.keys() - SCOOP_KEYS)}"
    assert m["version"] == version and re.fullmatch(r"[\w\-.+_]+", version), f"version {m['version']!r}"
    assert re.fullmatch(r"https?://.+", m["homepage"]) and m["license"] == "MIT", "homepage or license"
    x64 = m["architecture"]["64bit"]
    assert x64["url"] == url and "$" not in url and x64["hash"] == digest, f"url {x64['url']} or its SHA-256"
    assert m["bin"] == [["Quenlix.exe", "quenlix"]], f"bin {m['bin']}"
    check, template = m["checkver"], m["autoupdate"]["architecture"]["64bit"]["url"]
    assert "github" in check or re.search(check["regex"], os.path.basename(url)).group(1) == version, "checkver"
    assert "$version" in template and template.replace("$version", version) == url, f"autoupdate {template}"
    return "version, url, hash, bin, checkver, autoupdate"


failed = False
for check, name in ((check_winget, "winget-manifest"), (check_scoop, "scoop-manifest")):
    try:
        said = [check(d, v, u, hashlib.sha256(open(f"{d}/Quenlix-{v}-win64.zip", "rb").read()).hexdigest())
                for d, v, u in zip(sys.argv[1::3], sys.argv[2::3], sys.argv[3::3])]
        print(f"PASS {name}: {said[0]}; for {len(said)} archives")
    except Exception as e:  # whatever is missing or malformed fails the check, and says what
        print(f"FAIL {name}: {type(e).__name__} {e}")
        failed = True
sys.exit(1 if failed else 0)
