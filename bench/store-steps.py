#!/usr/bin/env python3
"""Where the store's load and Command5 spend their time, a step at a time, under Wine.

    store-steps.py BENCH_EXE HOSTS_FILE [ROUNDS]

BENCH_EXE is a quenlix_bench.exe (bench/Win32Bench.cpp) as scripts/bench.sh
builds it in build/bench/windows/bench/; HOSTS_FILE a file of code page 936,
such as build/bench-data/hosts-1000000.txt. Run it with scripts/bench.sh's
Wine prefix started (QUENLIX_BUILD=.../build/bench, scripts/common.sh's
start_wine). Each round runs every step once, in order ("steps" in
Win32Bench.cpp); prints the median and the minimum of each.
"""
import os
import statistics
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bench import WineHarness, windows_path  # noqa: E402


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    program, hosts = sys.argv[1:3]
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 9
    out = os.path.dirname(os.path.abspath(hosts))
    env = dict(os.environ, LC_ALL="zh_CN.UTF-8")
    times = {}
    with open(os.path.join(out, "store-steps.log"), "w") as log:
        harness = WineHarness(program, env, log, out)
        try:
            harness.ask("load " + windows_path(hosts))  # the file in the system's cache
            for _ in range(rounds):
                for step in harness.ask("steps " + windows_path(hosts)):
                    name, ms = step.split("=")
                    times.setdefault(name, []).append(float(ms))
        finally:
            harness.close()
    print("%-34s %10s %10s   (%d rounds)" % ("step", "median ms", "min ms", rounds))
    for name, ms in times.items():
        print("%-34s %10.2f %10.2f" % (name, statistics.median(ms), min(ms)))


if __name__ == "__main__":
    main()
