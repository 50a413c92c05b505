#!/usr/bin/env python3
"""The store's load and save of two builds, side by side, under Wine.

    compare-store.py DATA_DIR OUT_DIR BEFORE_BENCH_EXE AFTER_BENCH_EXE [ROUNDS]

Each BENCH_EXE is a quenlix_bench.exe (bench/Win32Bench.cpp), as
scripts/bench.sh builds it in build/bench/windows/bench/ of its tree; DATA_DIR
holds hosts-1000000.txt and .u16 from bench/make-hosts.py (bench.sh makes them
in build/bench-data). Run it with scripts/bench.sh's Wine prefix started
(QUENLIX_BUILD=.../build/bench, scripts/common.sh's start_wine).

The two programs run at once and take turns, file by file and round by round,
the first to go changing each round, so that whatever else the machine does
falls on both alike. Four files: the benchmark's file in code page 936 and in
UTF-8, and the same lines each followed by a Chinese comment, in both
encodings. Each load is followed by a save of its text, in the same encoding,
checked to be the file (or, from builds that added one, the file followed by
CR LF), and by Command5's steps up to its message on the same file, with the
benchmark's entry (DATA_DIR's hosts-1000000.entry.u16), whose answers must
agree, and by the save's read of the file through the handle it writes with
("savecheck"), which is set against `cat` of the same file into a file, run
between the two. Prints the median and the minimum of each, and the ratio of
the medians.
"""
import os
import statistics
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bench import WineHarness, run_tool, windows_path  # noqa: E402


def main():
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    data, out, before, after = sys.argv[1:5]
    rounds = int(sys.argv[5]) if len(sys.argv) > 5 else 11
    os.makedirs(out, exist_ok=True)
    base = os.path.join(data, "hosts-1000000")
    text = open(base + ".u16", "rb").read().decode("utf-16-le")
    chinese = "".join(line + " # 广告服务器 统计\r\n" for line in text.split("\r\n")[:-1])
    files = {
        "936": (base + ".txt", None),
        "UTF-8": (os.path.join(out, "hosts.utf8"), text.encode("utf-8")),
        "936, Chinese on every line": (os.path.join(out, "hosts-chinese.txt"), chinese.encode("gbk")),
        "UTF-8, Chinese on every line": (os.path.join(out, "hosts-chinese.utf8"), chinese.encode("utf-8")),
    }
    for path, content in files.values():
        if content is not None:
            with open(path, "wb") as f:
                f.write(content)

    env = dict(os.environ, LC_ALL="zh_CN.UTF-8")
    with open(os.path.join(out, "compare-store.log"), "w") as log:
        programs = {"before": WineHarness(before, env, log, out), "after": WineHarness(after, env, log, out)}
        times = {}
        answers = {}
        try:
            for round_ in range(rounds):
                order = ["before", "after"] if round_ % 2 == 0 else ["after", "before"]
                for name, (path, _) in files.items():
                    utf8 = name.startswith("UTF-8")
                    for who in order:
                        program = programs[who]
                        times.setdefault((name, "load", who), []).append(
                            float(program.ask("load " + windows_path(path))[0]))
                        saved = os.path.join(out, "saved-by-" + who)
                        times.setdefault((name, "save", who), []).append(
                            float(program.ask("save " + windows_path(saved) + (" utf8" if utf8 else ""))[0]))
                        # Older builds added one CR LF to every save; a build
                        # that keeps the bytes gives back the file itself.
                        with open(saved, "rb") as s, open(path, "rb") as f:
                            wrote, had = s.read(), f.read()
                            if wrote not in (had, had + b"\r\n"):
                                raise RuntimeError("%s, %s: the save is not the file" % (who, name))
                        reply = program.ask("command5 %s %s" % (windows_path(path), windows_path(base + ".entry.u16")))
                        times.setdefault((name, "command5", who), []).append(float(reply[0]))
                        answers.setdefault(name, set()).add(reply[1])
                        times.setdefault((name, "savecheck", who), []).append(
                            float(program.ask("savecheck " + windows_path(path))[0]))
                        times.setdefault((name, "cat", who), []).append(
                            run_tool(["cat", path], os.path.join(out, "cat.txt")))
                    if len(answers[name]) != 1:
                        raise RuntimeError("%s: the two builds' Command5 answer differently" % name)
        finally:
            for program in programs.values():
                program.close()

    print("%-30s %-8s %14s %14s %8s   (%d runs each, taking turns)" %
          ("file (1,000,000 lines)", "", "before ms", "after ms", "after/before", rounds))
    for name in files:
        for op in ("load", "save", "command5", "savecheck", "cat"):
            b, a = times[(name, op, "before")], times[(name, op, "after")]
            print("%-30s %-9s %7.2f (%6.2f) %7.2f (%6.2f) %8.2f" %
                  (name, op, statistics.median(b), min(b), statistics.median(a), min(a),
                   statistics.median(a) / statistics.median(b)))
        cat = statistics.median(times[(name, "cat", "before")] + times[(name, "cat", "after")])
        print("%-30s savecheck against cat: before x%.2f, after x%.2f" %
              ("", statistics.median(times[(name, "savecheck", "before")]) / cat,
               statistics.median(times[(name, "savecheck", "after")]) / cat))
    print("medians, and in brackets the minimum; cat runs beside each program's turn")


if __name__ == "__main__":
    main()
