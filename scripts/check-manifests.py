#!/usr/bin/env python3
"""Checks the winget and scoop manifests that scripts/release-files.sh wrote.

    check-manifests.py DIST VERSION URL [DIST VERSION URL ...]

For each DIST (the folder with Quenlix-VERSION-win64.zip) checks the fields
each manifest's schema requires, their forms, and that both name URL and the
archive's SHA-256. Neither schema ships in a Debian or npm package, so the
rules it holds to are written out here. Prints "PASS winget-manifest: ..." or
"FAIL ..." and the same for scoop-manifest.
"""
import hashlib, json, os, re, sys
import yaml

ID = r"[^.\s\\/:*?\"<>|\x01-\x1f]{1,32}(\.[^.\s\\/:*?\"<>|\x01-\x1f]{1,32}){1,7}"
URL = r"https?://.+"
# kind: (required fields, the values a field must have)
WINGET = {
    "version": ({"PackageIdentifier", "PackageVersion", "DefaultLocale", "ManifestType", "ManifestVersion"},
                {"DefaultLocale": "zh-CN"}),
    "installer": ({"PackageIdentifier", "PackageVersion", "Installers", "ManifestType", "ManifestVersion"},
                  {"InstallerType": "zip", "NestedInstallerType": "portable",
                   "NestedInstallerFiles": [{"RelativeFilePath": "Quenlix.exe", "PortableCommandAlias": "quenlix"}]}),
    "defaultLocale": ({"PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher", "PackageName", "License",
                       "ShortDescription", "ManifestType", "ManifestVersion"}, {"PackageLocale": "zh-CN"}),
    "locale": ({"PackageIdentifier", "PackageVersion", "PackageLocale", "ShortDescription", "ManifestType",
                "ManifestVersion"}, {"PackageLocale": "en-US"}),
}
FILES = {"version": "", "installer": ".installer", "defaultLocale": ".locale.zh-CN", "locale": ".locale.en-US"}
SCOOP_KEYS = {"version", "description", "homepage", "license", "architecture", "bin", "shortcuts", "checkver",
              "autoupdate", "notes", "persist", "depends", "url", "hash", "extract_dir", "##"}


def check_winget(dist, version, url, digest):
    folder = os.path.join(dist, "winget", "Quenlix.Quenlix", version)
    names = sorted(os.listdir(folder))
    assert names == sorted(f"Quenlix.Quenlix{s}.yaml" for s in FILES.values()), f"{folder} holds {names}"
    for kind, (required, values) in WINGET.items():
        text = open(os.path.join(folder, f"Quenlix.Quenlix{FILES[kind]}.yaml"), encoding="utf-8").read()
        m = yaml.safe_load(text)
        where = f"the {kind} manifest"
        assert required <= m.keys(), f"{where} lacks {sorted(required - m.keys())}"
        assert all(m.get(k) == v for k, v in values.items()), f"{where} does not have {values}"
        assert m["ManifestType"] == kind and re.fullmatch(ID, m["PackageIdentifier"]), f"{where}: type or identifier"
        assert m["PackageVersion"] == version, f"{where} has version {m['PackageVersion']!r}, not {version!r}"
        assert tuple(map(int, m["ManifestVersion"].split("."))) >= (1, 6, 0), f"{where} is older than schema 1.6"
        assert f"winget-manifest.{kind.lower()}.{m['ManifestVersion']}.schema.json" in text, f"{where} names no schema"
        for key in ("Publisher", "PackageName", "License", "ShortDescription"):
            assert key not in m or 2 <= len(m[key]) <= 256, f"{where}: {key} is too short or long"
        if kind == "installer":
            for i in m["Installers"]:
                assert i["Architecture"] in ("x86", "x64", "arm", "arm64", "neutral"), f"{where}: architecture"
                assert re.fullmatch(URL, i["InstallerUrl"]) and i["InstallerUrl"] == url, f"{where}: URL"
                assert i["InstallerSha256"].lower() == digest, f"{where}: the SHA-256 is not the archive's"
    return f"4 files, schema {m['ManifestVersion']}"


def check_scoop(dist, version, url, digest):
    m = json.load(open(os.path.join(dist, "quenlix.json"), encoding="utf-8"))
    assert m.keys() <= SCOOP_KEYS, f"fields scoop does not know: {sorted(m.keys() - SCOOP_KEYS)}"
    assert m["version"] == version and re.fullmatch(r"[\w\-.+_]+", version), f"version {m['version']!r}"
    assert re.fullmatch(URL, m["homepage"]) and m["license"] == "MIT", "homepage or license"
    x64 = m["architecture"]["64bit"]
    assert x64["url"] == url and "$" not in url, f"url {x64['url']}"
    assert x64["hash"] == digest, "the SHA-256 is not the archive's"
    assert m["bin"] == [["Quenlix.exe", "quenlix"]], f"bin {m['bin']}"
    check = m["checkver"]
    assert "github" in check or re.search(check["regex"], os.path.basename(url)).group(1) == version, "checkver"
    template = m["autoupdate"]["architecture"]["64bit"]["url"]
    assert "$version" in template and template.replace("$version", version) == url, f"autoupdate {template}"
    return "version, url, hash, bin, checkver, autoupdate"


def main(args):
    failed = False
    for check, name in ((check_winget, "winget-manifest"), (check_scoop, "scoop-manifest")):
        try:
            said = []
            for dist, version, url in zip(args[0::3], args[1::3], args[2::3]):
                archive = os.path.join(dist, f"Quenlix-{version}-win64.zip")
                said.append(check(dist, version, url, hashlib.sha256(open(archive, "rb").read()).hexdigest()))
            print(f"PASS {name}: {said[0]}; for {len(said)} archives")
        except (AssertionError, KeyError, TypeError, AttributeError, OSError, yaml.YAMLError, ValueError) as e:
            print(f"FAIL {name}: {type(e).__name__} {e}")
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
