#!/usr/bin/env python3
"""Checks that a program imports only DLLs that Windows keeps as known DLLs.

    check-known-dll-imports.py PROGRAM.exe

Lists the DLLs in the import table of PROGRAM.exe (objdump, OBJDUMP or
x86_64-w64-mingw32-objdump) and compares them with the known DLLs that every
Windows from 7 SP1 on names under HKLM\\SYSTEM\\CurrentControlSet\\Control\\
Session Manager\\KnownDLLs. The loader maps those from System32 whatever the
search order; any other import is looked for in the program's folder first,
before the program's first line runs, so a DLL of that name planted beside a
downloaded Quenlix.exe would run inside it, with administrator rights in the
second instance. Prints one line, "PASS known-dll-imports: ..." or
"FAIL known-dll-imports: ...", and exits non-zero on FAIL.
"""
import os
import re
import subprocess
import sys

# KnownDLLs of Windows 7 SP1 that Windows 8, 8.1, 10 and 11 keep too
# (ntdll.dll is always mapped first and needs no entry).
KNOWN = {
    "advapi32.dll", "clbcatq.dll", "comdlg32.dll", "gdi32.dll", "imagehlp.dll", "imm32.dll", "kernel32.dll",
    "msctf.dll", "msvcrt.dll", "normaliz.dll", "nsi.dll", "ntdll.dll", "ole32.dll", "oleaut32.dll", "psapi.dll",
    "rpcrt4.dll", "sechost.dll", "setupapi.dll", "shell32.dll", "shlwapi.dll", "user32.dll", "wldap32.dll",
    "ws2_32.dll",
}


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    objdump = os.environ.get("OBJDUMP", "x86_64-w64-mingw32-objdump")
    try:
        text = subprocess.run([objdump, "-p", argv[1]], check=True, capture_output=True, text=True).stdout
    except (OSError, subprocess.CalledProcessError) as error:
        print(f"FAIL known-dll-imports: cannot read {argv[1]}: {error}")
        return 1
    dlls = sorted({m.group(1).lower() for m in re.finditer(r"^\s*DLL Name: (\S+)", text, re.M)})
    delay = re.search(r"^Entry d \S+ (\S+) Delay Import Directory", text, re.M)
    delayed = delay is not None and int(delay.group(1), 16) != 0
    if not dlls:
        print(f"FAIL known-dll-imports: {argv[1]} has no import table that objdump can read")
        return 1
    unknown = [dll for dll in dlls if dll not in KNOWN]
    if unknown or delayed:
        why = ", ".join(unknown) + (" (and delay-loaded imports)" if delayed else "")
        print(f"FAIL known-dll-imports: imports {why}, which the loader looks for beside the program first: "
              "bind it by name after KeepLibrarySearchInSystemFolder")
        return 1
    print(f"PASS known-dll-imports: imports only known DLLs ({', '.join(dlls)})")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
