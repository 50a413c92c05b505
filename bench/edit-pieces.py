#!/usr/bin/env python3
"""What filling a control like Text1 in pieces costs over filling it in one go, under Wine.

    edit-pieces.py BENCH_EXE HOSTS_FILE [ROUNDS] [LINES]

BENCH_EXE is a quenlix_bench.exe (bench/Win32Bench.cpp) as scripts/bench.sh
builds it in build/bench/windows/bench/; HOSTS_FILE a file of code page 936,
such as build/bench-data/hosts-1000000.txt. Run it with scripts/bench.sh's
Wine prefix started (QUENLIX_BUILD=.../build/bench, scripts/common.sh's
start_wine). Each round fills the control once in each way ("pieces" in
Win32Bench.cpp), in turns; prints the medians: the whole fill, its ratio to
the fill in one go, the number of pieces, the longest piece and the mean
piece of the last tenth (when the control holds nearly everything).
"""
import os
import statistics
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bench import WineHarness, windows_path  # noqa: E402

WAYS = [("one", "in one go (the buffer handed over)"),
        ("program", "as the program fills Text1 (hidden, pieces by time)"),
        ("hidden", "pieces of LINES lines, the control hidden"),
        ("shown", "pieces of LINES lines, the control shown")]


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    program, hosts = sys.argv[1:3]
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    lines = int(sys.argv[4]) if len(sys.argv) > 4 else 3000
    out = os.path.dirname(os.path.abspath(hosts))
    env = dict(os.environ, LC_ALL="zh_CN.UTF-8")
    figures = {way: [] for way, _ in WAYS}
    with open(os.path.join(out, "edit-pieces.log"), "w") as log:
        harness = WineHarness(program, env, log, out)
        try:
            harness.ask("load " + windows_path(hosts))
            for r in range(rounds):
                order = WAYS if r % 2 == 0 else list(reversed(WAYS))
                for way, _ in order:
                    reply = harness.ask("pieces %s %d" % (way, lines))
                    figures[way].append([float(x) for x in reply])
        finally:
            harness.close()
    one = statistics.median(f[0] for f in figures["one"])
    print("%-55s %10s %7s %7s %10s %10s   (%d rounds, LINES=%d)"
          % ("way", "median ms", "x one", "pieces", "longest", "last 10%", rounds, lines))
    for way, name in WAYS:
        runs = figures[way]
        ms = statistics.median(f[0] for f in runs)
        print("%-55s %10.0f %7.2f %7.0f %10.1f %10.1f"
              % (name, ms, ms / one, statistics.median(f[1] for f in runs),
                 statistics.median(f[2] for f in runs), statistics.median(f[3] for f in runs)))


if __name__ == "__main__":
    main()
