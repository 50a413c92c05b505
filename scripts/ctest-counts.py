#!/usr/bin/env python3
"""Counts one CTest run from CTest's own record of it: prints "PASSED FAILED".

Usage: ctest-counts.py JUNIT_FILE EXIT_STATUS_FILE NAME

JUNIT_FILE is what `ctest --output-junit` wrote, EXIT_STATUS_FILE holds
ctest's exit status, NAME names the run in messages. A run that left no
readable record, ran no test, or failed without a failed test in its record
counts as one failure more; the reason goes to stderr.
"""

import sys
import xml.etree.ElementTree as ET


def main():
    junit, status_file, name = sys.argv[1:4]
    try:
        with open(status_file) as f:
            code = int(f.read())
    except (OSError, ValueError):
        code = None  # ctest did not get as far as an exit
    try:
        cases = list(ET.parse(junit).getroot().iter("testcase"))
    except (OSError, ET.ParseError) as e:
        print("ctest in %s left no readable record (%s); exit status %s" % (name, e, code), file=sys.stderr)
        print(0, 1)
        return
    passed = failed = skipped = 0
    for case in cases:
        status = case.get("status")
        # "notrun" is both a deliberate skip (SKIP_RETURN_CODE,
        # SKIP_REGULAR_EXPRESSION) and a program that could not be started,
        # which CTest itself counts as failed.
        reasons = [s.get("message", "") for s in case.findall("skipped")]
        if status == "run":
            passed += 1
        elif status == "disabled" or (status == "notrun" and reasons and reasons[0].startswith("SKIP_")):
            skipped += 1
        else:
            failed += 1
    if skipped:
        print("ctest in %s: %d tests skipped or disabled" % (name, skipped), file=sys.stderr)
    if not cases:
        print("ctest in %s ran no test" % name, file=sys.stderr)
        failed += 1
    elif code != 0 and failed == 0:
        print("ctest in %s ended with exit status %s but no failed test" % (name, code), file=sys.stderr)
        failed += 1
    print(passed, failed)


if __name__ == "__main__":
    main()
