#!/usr/bin/env python3
"""Checks that a program imports nothing that Windows 7 SP1 lacks.

    check-win7-imports.py PROGRAM.exe [LIST]

Reads the import table of PROGRAM.exe with objdump (OBJDUMP, by default
x86_64-w64-mingw32-objdump) and compares every imported function with LIST
(by default win7-exports.txt beside this script). Prints one line,
"PASS win7-imports: ..." or "FAIL win7-imports: ...", and exits non-zero on
FAIL. Windows refuses to start a program that imports a function its DLLs do
not export, so a single such import keeps the program off Windows 7 whole.
"""
import os
import pathlib
import re
import subprocess
import sys

NAME = re.compile(r"^[A-Za-z_?@$][\w?@$]*$")


def read_list(path):
    allowed, refused = {}, {}
    for number, line in enumerate(pathlib.Path(path).read_text(encoding="utf-8").splitlines(), 1):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        fields = line.split(None, 3)
        if len(fields) < 4 or fields[0] not in ("allow", "refuse"):
            raise ValueError(f"{path}:{number}: expected 'allow|refuse DLL FUNCTION MINIMUM-CLIENT'")
        verdict, dll, function, client = fields
        (allowed if verdict == "allow" else refused)[(dll.lower(), function)] = client
    return allowed, refused


def read_imports(program):
    objdump = os.environ.get("OBJDUMP", "x86_64-w64-mingw32-objdump")
    text = subprocess.run([objdump, "-p", program], check=True, capture_output=True, text=True).stdout
    imports, dll = [], None
    for line in text.splitlines():
        named = re.match(r"^\s*DLL Name: (\S+)", line)
        if named:
            dll = named.group(1).lower()
            continue
        if dll is None:
            continue
        if not line.strip():
            dll = None
            continue
        entry = re.match(r"^\t[0-9a-fA-F]+\t\s*\d+\s+(\S+)", line)
        if entry:
            imports.append((dll, entry.group(1)))
        elif not line.lstrip().startswith("vma:"):
            imports.append((dll, line.strip()))  # by ordinal: no name to look up
    return imports


def main(argv):
    if len(argv) not in (2, 3):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    program = argv[1]
    listing = argv[2] if len(argv) == 3 else pathlib.Path(__file__).with_name("win7-exports.txt")
    try:
        allowed, refused = read_list(listing)
        imports = read_imports(program)
    except (OSError, ValueError, subprocess.CalledProcessError) as error:
        print(f"FAIL win7-imports: cannot read {program} or {listing}: {error}")
        return 1
    if not imports:
        print(f"FAIL win7-imports: {program} has no import table that objdump can read")
        return 1

    lacking, unknown = [], []
    for dll, function in imports:
        key = (dll, function)
        if key in refused:
            lacking.append(f"{dll}!{function} (from {refused[key]})")
        elif not NAME.match(function):
            unknown.append(f"{dll}: an import by ordinal ({function}), which no list can vouch for")
        elif key not in allowed:
            unknown.append(f"{dll}!{function} (not in {pathlib.Path(listing).name}: look it up and add it)")
    problems = lacking + unknown  # the certain ones first
    if problems:
        print(f"FAIL win7-imports: Windows 7 SP1 lacks or may lack {len(problems)}: " + "; ".join(problems))
        return 1
    dlls = sorted({dll for dll, _ in imports})
    print(f"PASS win7-imports: all {len(imports)} imported functions of {len(dlls)} DLLs ({', '.join(dlls)}) "
          f"are exported by Windows 7 SP1")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
