#!/usr/bin/env bash
# Checks that every #include under src/ points down the layers of the tree:
#
#   platform/  <-  hosts/, system/  <-  edit/  <-  commands/  <-  ui/
#
# A file may include its own folder and any folder below it; hosts/ and
# system/ stand side by side and include neither each other nor edit/.
# Prints "PASS includes: ..." or one "FAIL includes: ..." line per upward
# include, and exits non-zero on any.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
python3 - "$root/src" <<'PY'
import pathlib, re, sys
src = pathlib.Path(sys.argv[1])
# What each folder may include besides itself.
allowed = {
    "platform": set(),
    "hosts": {"platform"},
    "system": {"platform"},
    "edit": {"platform", "hosts"},
    "commands": {"platform", "hosts", "system", "edit"},
    "ui": {"platform", "hosts", "system", "edit", "commands"},
}
include = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
files = sorted(p for p in src.rglob("*") if p.suffix in (".h", ".cpp", ".rc"))
bad, count = [], 0
for path in files:
    folder = path.relative_to(src).parts[0]
    if folder not in allowed:
        bad.append(f"{path.relative_to(src)} lies in no known layer")
        continue
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        m = include.match(line)
        if not m:
            continue
        count += 1
        target = m.group(1).split("/")[0] if "/" in m.group(1) else folder
        if target != folder and target not in allowed[folder]:
            bad.append(f"src/{path.relative_to(src)}:{number} includes {m.group(1)}")
for line in bad:
    print(f"FAIL includes: {line}")
if not bad:
    print(f"PASS includes: {count} includes in {len(files)} files point down the layers")
sys.exit(1 if bad else 0)
PY
