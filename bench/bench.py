#!/usr/bin/env python3
"""Measures Quenlix against reference tools on generated hosts files.

scripts/bench.sh builds the programs, starts Wine and calls this script. Every
figure is the median of several runs; each run of Quenlix's code is followed
(or, every other run, preceded) by a run of the reference tool on the same
data, so that a busy machine slows both alike and their ratio holds.

Quenlix's figures are the time of its own code, measured inside the process
that runs it; a reference tool's figure is the wall time of its process, from
start to end, as a user would run it.
"""

import argparse
import datetime
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

C_LOCALE = dict(os.environ, LC_ALL="C")

# The store's load, as a ratio to the least reader under the same Wine
# (bench/Win32Bench.cpp, "reader"): see docs/performance.md.
LOAD_OVER_LEAST_READER = 1.25


class Harness:
    """A program that answers one request a line on stdin with one line on stdout."""

    def __init__(self, argv, env, log):
        self.log = log
        self.process = subprocess.Popen(argv, stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=log,
                                        env=env, text=True, bufsize=1)

    def ask(self, request):
        self.process.stdin.write(request + "\n")
        self.process.stdin.flush()
        reply = self.reply()
        if not reply or reply.startswith("error") or reply.startswith("unknown") or reply.startswith("mismatch"):
            raise RuntimeError("%s -> %s" % (request, reply or "no answer"))
        return reply.split()

    def reply(self):
        return self.process.stdout.readline().strip()

    def close(self):
        try:
            self.process.stdin.write("quit\n")
            self.process.stdin.close()
            self.process.wait(timeout=60)
        except Exception:
            self.process.kill()


class WineHarness(Harness):
    """A Windows program under Wine, asked as Harness asks, whose replies go to a file.

    Not a pipe, as with scripts/wine-env.sh's wine_run: Wine's background
    processes and the programs this one starts (Quenlix, Notepad) inherit its
    output and hold it open after it has ended, so a reply that never comes
    would leave a pipe's reader waiting for them. The file is read as it grows,
    for as long as the program runs.
    """

    REPLY_SECONDS = 600  # far above any one request on the largest file

    def __init__(self, program, env, log, folder):
        self.log = log
        fd, self.path = tempfile.mkstemp(prefix="replies-", suffix=".txt", dir=folder)
        with os.fdopen(fd, "wb") as out:
            self.process = subprocess.Popen(["wine", program], stdin=subprocess.PIPE, stdout=out, stderr=log,
                                            env=env, text=True, bufsize=1)
        self.replies = open(self.path, "rb")
        self.pending = b""

    def reply(self):
        deadline = time.monotonic() + self.REPLY_SECONDS
        pause = 0.0005
        while True:
            self.pending += self.replies.readline()
            if self.pending.endswith(b"\n"):
                line, self.pending = self.pending, b""
                return line.decode(errors="replace").strip()
            if self.process.poll() is not None:  # ended: what it wrote is all there will be
                self.pending += self.replies.read()
                line, self.pending = self.pending, b""
                return line.decode(errors="replace").strip()
            if time.monotonic() > deadline:
                return ""
            time.sleep(pause)
            pause = min(pause * 2, 0.01)

    def close(self):
        super().close()
        self.replies.close()
        os.remove(self.path)


def run_tool(argv, stdout_path, stdin_path=None):
    """Wall time of one run of a reference tool, in milliseconds."""
    stdin = open(stdin_path, "rb") if stdin_path else subprocess.DEVNULL
    # Output goes to a real file: GNU grep stops at the first match when its
    # output is /dev/null, which would not be the same work.
    with open(stdout_path, "wb") as out:
        start = time.perf_counter()
        code = subprocess.run(argv, stdin=stdin, stdout=out, env=C_LOCALE).returncode
        elapsed = (time.perf_counter() - start) * 1000
    if stdin_path:
        stdin.close()
    if code not in (0, 1):  # grep gives 1 when nothing matches
        raise RuntimeError("%s failed (%d)" % (argv[0], code))
    return elapsed


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Bench:
    def __init__(self, args):
        self.args = args
        self.rows = []  # dicts: name, lines, ours, ref_name, ref, kind
        self.notes = []
        self.log = open(os.path.join(args.data, "bench.log"), "a")
        self.out = os.path.join(args.data, "out")
        os.makedirs(self.out, exist_ok=True)

    def say(self, text):
        print(text, flush=True)

    def compare(self, name, lines, ours, ref, ref_name, runs, kind="ratio", limit=None):
        """Interleaved runs of `ours` and `ref`, each a function giving milliseconds.

        A row of kind "ratio" has the target ours / ref <= `limit` (2 unless given)."""
        ours(), ref()  # warm the caches once, untimed
        a, b = [], []
        for r in range(runs):
            if r % 2 == 0:
                a.append(ours())
                b.append(ref())
            else:
                b.append(ref())
                a.append(ours())
        row = dict(name=name, lines=lines, ours=statistics.median(a), ref=statistics.median(b), ref_name=ref_name,
                   kind=kind, runs=runs)
        if limit is not None:
            row["limit"] = limit
        self.add(row)
        return row

    # --- The searches and the duplicate test, natively ---

    def native(self, size, searches=True, diagnosis=True):
        base = os.path.join(self.args.data, "hosts-%d" % size)
        text = base + ".txt"
        harness = Harness([self.args.native], os.environ, self.log)
        try:
            harness.ask("open " + base)
            if size <= 100000:
                harness.ask("verify")  # the fast paths against the direct algorithms, on this data
            runs = self.args.runs
            read = lambda suffix: open(base + suffix, "rb").read()
            ours = lambda request: (lambda: float(harness.ask(request)[0]))
            out = os.path.join(self.out, "grep.txt")
            # Each run of ours starts with the caches swept; so does each run of grep.
            tool = run_tool
            run_tool_cold = lambda *a, **k: (harness.ask("evict"), tool(*a, **k))[1]

            if searches:
                self.compare("lines containing (Command9)", size, ours("contains"),
                             lambda: run_tool_cold(["grep", "-F", "-e", read(".contains.gbk"), text], out),
                             "grep -F", runs)
                self.compare("equal lines (Command7)", size, ours("equal"),
                             lambda: run_tool_cold(["grep", "-Fx", "-f", base + ".equal.gbk", text], out),
                             "grep -Fx -f", runs)
                terms = read(".terms.gbk").split(b",")
                self.compare("terms (Command8)", size, ours("terms"),
                             lambda: sum(run_tool_cold(["grep", "-Fc", "-e", t, text], out) for t in terms),
                             "grep -Fc per term (%d)" % len(terms), runs)
                self.compare("duplicate test (Command5)", size, ours("duplicate"),
                             lambda: run_tool_cold(["grep", "-Fic", "-e", read(".entry.gbk"), text], out),
                             "grep -Fic", runs)
            if diagnosis:
                # The whole-text check, the trace of a name and packing, each
                # against grep counting the lines that hold the traced name, as
                # the trace must, over the same bytes.
                name = read(".entry.gbk").split(b" ", 1)[1]
                grep_name = lambda: run_tool_cold(["grep", "-Fic", "-e", name, text], out)
                self.compare("hosts check (F8)", size, ours("check"), grep_name, "grep -Fic", runs, limit=3.0)
                # The check reads every line as the trace does, and looks up
                # every name besides.
                self.compare("hosts check, against the trace's reading of every line", size,
                             ours("check"), ours("trace"), "name trace", runs, kind="detail")
                self.compare("name trace", size, ours("trace"), grep_name, "grep -Fic", runs, limit=3.0)
                self.compare("packing, without Text1's work", size, ours("pack"), grep_name, "grep -Fic", runs,
                             limit=3.0)
                # The packed text has to be written somewhere: for a large file
                # into memory the process has not touched before, whose first
                # touch a virtual machine's page faults make slow.
                self.compare("packing, against its text written once", size, ours("pack"),
                             ours("fill-packed"), "the packed text's size allocated and written once", runs,
                             kind="detail")
        finally:
            harness.close()

    # --- Instructions, which no other program on the machine can disturb ---

    NATIVE_FUNCTIONS = {
        "lines containing (Command9)": ("contains", "quenlix::FindLinesContaining*"),
        "equal lines (Command7)": ("equal", "quenlix::FindEqualLines*"),
        "terms (Command8)": ("terms", "quenlix::FindPresentTerms*"),
        "duplicate test (Command5)": ("duplicate", "quenlix::FirstDuplicateLineByBlocks*"),
        "hosts check (F8)": ("check", "quenlix::CheckHostsText*"),
        "name trace": ("trace", "quenlix::TraceHostName*"),
        "packing, without Text1's work": ("pack", "quenlix::PackEntries*"),
    }

    def instructions(self, size):
        """Instructions each native operation executes, counted by callgrind."""
        if not shutil.which("valgrind"):
            return
        base = os.path.join(self.args.data, "hosts-%d" % size)
        for name, (request, function) in self.NATIVE_FUNCTIONS.items():
            out = os.path.join(self.out, "callgrind.out")
            with open(os.devnull, "w") as null:
                subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out,
                                "--collect-atstart=no", "--toggle-collect=" + function, self.args.native],
                               input="open %s\n%s\nquit\n" % (base, request), text=True, stdout=null,
                               stderr=self.log, check=True)
            with open(out) as f:
                total = next(int(line.split()[1]) for line in f if line.startswith("totals:"))
            for row in self.rows:
                if row["name"] == name and row["lines"] == size:
                    row["instructions"] = total
            self.say("  %-34s %9d lines  %13d instructions" % (name, size, total))

    # --- Load and save with the real platform, under Wine ---

    def wine_env(self):
        return dict(os.environ, LC_ALL=self.args.wine_locale)

    def store(self, size):
        base = os.path.join(self.args.data, "hosts-%d" % size)
        text = base + ".txt"
        harness = WineHarness(self.args.wine_bench, self.wine_env(), self.log, self.out)
        try:
            runs = self.args.runs
            ours = lambda request: (lambda: float(harness.ask(request)[0]))
            load = "load " + windows_path(text)
            self.compare("load (ReadHostsFile, Wine)", size, ours(load),
                         lambda: run_tool(["iconv", "-f", "CP936", "-t", "UTF-16LE", text], "/dev/null"),
                         "iconv -f CP936 -t UTF-16LE", runs)
            harness.ask("check " + windows_path(base + ".u16"))  # Wine and iconv decode alike
            # The least any program can do to hold the file as UTF-16 through
            # the system, under the same Wine: ReadFile in the same pieces
            # and MultiByteToWideChar, nothing else. Most of either's time is
            # the first touch of the memory the text takes, which iconv,
            # writing to /dev/null a buffer at a time, never pays.
            reader = lambda: float(harness.ask("reader " + windows_path(text))[0])
            self.compare("  the least reader: ReadFile + MultiByteToWideChar (Wine)", size, reader,
                         lambda: run_tool(["iconv", "-f", "CP936", "-t", "UTF-16LE", text], "/dev/null"),
                         "iconv -f CP936 -t UTF-16LE", runs, kind="detail")
            harness.ask("check " + windows_path(base + ".u16"))  # it reads the file as it is
            self.compare("load against the least reader (Wine)", size, ours(load), reader,
                         "the least reader (Wine)", runs, limit=LOAD_OVER_LEAST_READER)
            harness.ask(load)

            # The reference for the saves in the ANSI code page.
            iconv_save = lambda: run_tool(["iconv", "-f", "UTF-16LE", "-t", "CP936"],
                                          os.path.join(self.out, "saved-by-iconv.txt"), stdin_path=base + ".u16")
            saved = os.path.join(self.out, "saved-by-quenlix.txt")
            # The save as the commands make it (WriteHostsInPlace), and the
            # read back it ends with: the file read once more, through a
            # handle of its own.
            self.compare("save (WriteHostsInPlace, Wine)", size, ours("save " + windows_path(saved)),
                         iconv_save, "iconv -f UTF-16LE -t CP936 > file", runs)
            # A load and a save with no edit give back the bytes read.
            with open(saved, "rb") as f, open(text, "rb") as g:
                if f.read() != g.read():
                    raise RuntimeError("the saved file is not the file that was loaded")
            written = saved
            if harness.ask("readback " + windows_path(written))[1] != "1":
                raise RuntimeError("the read back does not find what was written")
            self.compare("  its read back (FileHolds, Wine)", size, ours("readback " + windows_path(written)),
                         lambda: run_tool(["cat", written], os.path.join(self.out, "cat.txt")),
                         "cat > file", runs, kind="detail")
            # Before a change the file's bytes go to the history, and the
            # write is journalled: at most one more write of the file.
            self.compare("save that changes the file, with its history copy and journal (Wine)", size,
                         ours("changewrite %s history" % windows_path(os.path.join(self.out, "changed-history.txt"))),
                         ours("changewrite %s plain" % windows_path(os.path.join(self.out, "changed-plain.txt"))),
                         "the same save without them", runs)
            plain = ours("changewrite %s plain" % windows_path(os.path.join(self.out, "changed-plain.txt")))
            self.compare("  its history copy alone (KeepHistoryCopy, Wine)", size,
                         ours("historycopy " + windows_path(text)), plain, "the same save without them", runs,
                         kind="detail")
            # Before it writes, the save reads the file through the handle it
            # writes with: to keep its encoding and to ask when it changed
            # since the load.
            self.compare("  save's check: the read through its handle (Wine)", size, ours("savecheck " + windows_path(text)),
                         lambda: run_tool(["cat", text], os.path.join(self.out, "cat.txt")),
                         "cat > file", runs, kind="detail")

            # The same file saved by Notepad as UTF-8.
            utf8 = os.path.join(self.out, "hosts-%d.utf8" % size)
            with open(base + ".u16", "rb") as f, open(utf8, "wb") as g:
                g.write(f.read().decode("utf-16-le").encode("utf-8"))
            self.compare("load UTF-8 (ReadHostsFile, Wine)", size, ours("load " + windows_path(utf8)),
                         lambda: run_tool(["iconv", "-f", "UTF-8", "-t", "UTF-16LE", utf8], "/dev/null"),
                         "iconv -f UTF-8 -t UTF-16LE", runs)
            harness.ask("check " + windows_path(base + ".u16"))
            saved8 = os.path.join(self.out, "saved-by-quenlix.utf8")
            self.compare("save UTF-8 (WriteHostsInPlace, Wine)", size,
                         ours("save %s utf8" % windows_path(saved8)),
                         lambda: run_tool(["iconv", "-f", "UTF-16LE", "-t", "UTF-8"],
                                          os.path.join(self.out, "saved-by-iconv.utf8"), stdin_path=base + ".u16"),
                         "iconv -f UTF-16LE -t UTF-8 > file", runs)
            with open(saved8, "rb") as f, open(utf8, "rb") as g:
                if f.read() != g.read():
                    raise RuntimeError("the saved UTF-8 file is not the file that was loaded")
            harness.ask(load)

            # Where the time of the store goes: Wine's conversions alone.
            self.compare("  MultiByteToWideChar alone (Wine)", size, ours("decode " + windows_path(text)),
                         lambda: run_tool(["iconv", "-f", "CP936", "-t", "UTF-16LE", text], "/dev/null"),
                         "iconv -f CP936 -t UTF-16LE", runs, kind="detail")
            harness.ask(load)
            self.compare("  WideCharToMultiByte alone (Wine)", size, ours("encode"), iconv_save,
                         "iconv -f UTF-16LE -t CP936 > file", runs, kind="detail")
            grep = lambda: run_tool(["grep", "-Fic", "-e", open(base + ".entry.gbk", "rb").read(), text],
                                    os.path.join(self.out, "grep.txt"))
            self.compare("  ToUpper alone, ASCII mapped by the program (Wine)", size, ours("upper"), grep,
                         "grep -Fic", runs, kind="detail")
            self.compare("  CharUpperBuffW alone on the whole text (Wine)", size, ours("charupper"), grep,
                         "grep -Fic", runs, kind="detail")
            self.compare("Command5 read + test (Wine)", size,
                         ours("command5 %s %s" % (windows_path(text), windows_path(base + ".entry.u16"))), grep,
                         "grep -Fic", runs, limit=3.0)
        finally:
            harness.close()

    # --- The whole program under Wine ---

    def window(self, size, probe, warm):
        base = os.path.join(self.args.data, "hosts-%d" % size)
        units = os.path.getsize(base + ".u16") // 2
        shutil.copyfile(base + ".txt", self.args.hosts)
        hosts = r"C:\windows\system32\drivers\etc\hosts"
        runs = self.args.window_runs
        starts, firsts, clicks, tops, walks, peaks, notepads, notepad_peaks = [], [], [], [], [], [], [], []

        # The stock content is comments only: nothing for the picker to pick.
        clicking = size > 21

        def quenlix():
            ms = float(probe.ask("start %s %d" % (windows_path(self.args.quenlix), units))[0])
            peak = int(probe.ask("memory")[0])
            if not clicking:
                probe.ask("close")
                return ms, peak
            # The first click after the load: the focus still on Command1,
            # Text1 scrolled to its end, one click on an entry line there.
            firsts.append(float(probe.ask("click")[0]))
            tops.append(float(probe.ask("click top")[0]))
            walks.append(float(probe.ask("lineindex")[0]))
            for _ in range(3):
                clicks.append(float(probe.ask("click")[0]))
            probe.ask("close")
            return ms, peak

        def notepad():
            reply = probe.ask("notepad %s %d" % (hosts, units))
            return float(reply[0]), int(reply[1])

        if warm:
            quenlix(), notepad()
            del firsts[:], clicks[:], tops[:], walks[:]
        for r in range(runs):
            order = (quenlix, notepad) if r % 2 == 0 else (notepad, quenlix)
            for step in order:
                ms, peak = step()
                (starts if step is quenlix else notepads).append(ms)
                (peaks if step is quenlix else notepad_peaks).append(peak)
        self.add(dict(name="window shown, Text1 full (Wine)", lines=size, ours=statistics.median(starts),
                      ref=statistics.median(notepads), ref_name="Wine Notepad opening the file", kind="ratio",
                      runs=runs, spread=(min(starts), max(starts), min(notepads), max(notepads))))

        # The EDIT control alone, filled with the same text by one WM_SETTEXT.
        harness = WineHarness(self.args.wine_bench, self.wine_env(), self.log, self.out)
        try:
            harness.ask("load " + windows_path(base + ".txt"))
            fills = [float(harness.ask("edit")[0]) for _ in range(max(1, min(runs, 2)))]
        finally:
            harness.close()
        self.add(dict(name="  WM_SETTEXT into an EDIT control alone (Wine)", lines=size,
                      ours=statistics.median(fills), ref=statistics.median(notepads),
                      ref_name="Wine Notepad opening the file", kind="detail", runs=len(fills)))

        if not clicking:
            return
        self.add(dict(name="picker click near the end (Wine)", lines=size, ours=statistics.median(clicks),
                      ref=50.0, ref_name="target", kind="limit", runs=len(clicks)))
        self.add(dict(name="picker first click near the end, after the load (Wine)", lines=size,
                      ours=statistics.median(firsts), ref=statistics.median(clicks),
                      ref_name="later clicks near the end", kind="ratio", runs=len(firsts)))
        self.add(dict(name="  picker click at the top (Wine)", lines=size, ours=statistics.median(tops),
                      ref=50.0, ref_name="target", kind="detail-limit", runs=len(tops)))
        self.add(dict(name="  Text1 finding its last line, EM_LINEINDEX (Wine)", lines=size,
                      ours=statistics.median(walks), ref=50.0, ref_name="target", kind="detail-limit",
                      runs=len(walks)))
        utf16 = units * 2
        self.add(dict(name="peak working set (Wine)", lines=size, ours=max(peaks) / 2**20, ref=4 * utf16 / 2**20,
                      ref_name="4 x the text in UTF-16", kind="memory", runs=runs,
                      notepad=max(notepad_peaks) / 2**20, utf16=utf16 / 2**20))

    # --- A large file into Text1 a piece at a time, against one piece ---

    def fill(self, size, probe, warm):
        base = os.path.join(self.args.data, "hosts-%d" % size)
        units = os.path.getsize(base + ".u16") // 2
        shutil.copyfile(base + ".txt", self.args.hosts)
        runs = self.args.window_runs
        visible, ready, longest, percents, bars, single = [], [], [], [], [], []

        def pieces():
            reply = probe.ask("fill %s %d" % (windows_path(self.args.quenlix), units))
            probe.ask("close")
            visible.append(float(reply[0]))
            ready.append(float(reply[1]))
            longest.append(float(reply[2]))
            percents.append(int(reply[3]))
            bars.append(int(reply[4]))

        def one_piece():
            reply = probe.ask("fill %s %d" % (windows_path(self.args.single_fill), units))
            probe.ask("close")
            single.append(float(reply[1]))

        if warm:
            pieces(), one_piece()
            for figures in (visible, ready, longest, percents, bars, single):
                del figures[:]
        for r in range(runs):
            for step in ((pieces, one_piece) if r % 2 == 0 else (one_piece, pieces)):
                step()
        self.add(dict(name="Text1 filled in pieces: window visible (Wine)", lines=size,
                      ours=statistics.median(visible), ref=1000.0, ref_name="target", kind="limit", runs=runs))
        self.add(dict(name="Text1 filled in pieces: ready (Wine)", lines=size, ours=statistics.median(ready),
                      ref=statistics.median(single), ref_name="the same program filling Text1 in one piece",
                      kind="ratio", runs=runs, spread=(min(ready), max(ready), min(single), max(single))))
        self.add(dict(name="  longest wait for WM_NULL during the fill (Wine)", lines=size,
                      ours=statistics.median(longest), ref=200.0, ref_name="target", kind="limit", runs=runs,
                      spread=(min(longest), max(longest))))
        self.add(dict(name="  distinct percentages in the title (fewest of the runs)", lines=size,
                      ours=min(percents), ref=10, ref_name="target", kind="atleast", runs=runs))
        self.add(dict(name="  progress bar's last position (lowest of the runs)", lines=size,
                      ours=min(bars), ref=100, ref_name="target", kind="atleast", runs=runs))

    def fills(self):
        self.with_probe(self.fill)

    # --- F8 in the program's own window, against the window showing the file ---

    def window_check(self, size, probe, warm):
        base = os.path.join(self.args.data, "hosts-%d" % size)
        units = os.path.getsize(base + ".u16") // 2
        # Code page 936, as Chinese Windows writes the file: every line that
        # holds Chinese is measured for what a save would lose.
        shutil.copyfile(base + ".txt", self.args.hosts)
        runs = self.args.window_runs
        ready, checks = [], []
        for r in range(runs + (1 if warm else 0)):
            reply = probe.ask("fill %s %d" % (windows_path(self.args.quenlix), units))
            check = float(probe.ask("check")[0])
            probe.ask("close")
            if warm and r == 0:
                continue
            ready.append(float(reply[1]))
            checks.append(check)
        self.add(dict(name="F8 in the window, until Text4 holds the findings (Wine)", lines=size,
                      ours=statistics.median(checks), ref=statistics.median(ready),
                      ref_name="the window showing the file, Text1 full", kind="ratio", runs=runs, limit=0.1,
                      spread=(min(checks), max(checks), min(ready), max(ready))))

    def window_checks(self):
        self.with_probe(self.window_check)

    # --- A group of entries switched in Text1, against the control's own replace ---

    def switching(self):
        harness = WineHarness(self.args.wine_bench, self.wine_env(), self.log, self.out)
        try:
            for size in self.args.sizes:
                ours = lambda how: (lambda: float(harness.ask("switchgroup %s %d" % (how, size))[0]))
                self.compare("group switched in Text1 (Wine)", size, ours("ours"), ours("replace"),
                             "EM_REPLACESEL of the same range", self.args.runs, limit=1.2)
        finally:
            harness.close()

    def add(self, row):
        self.rows.append(row)
        if row["kind"] == "atleast":
            self.say("  %-34s %9d lines  %10d     (target at least %g)" % (
                row["name"], row["lines"], row["ours"], row["ref"]))
        elif row["kind"] == "memory":
            self.say("  %-34s %9d lines  %10.1f MB  (4 x UTF-16 = %.1f MB; Notepad %.1f MB)" % (
                row["name"], row["lines"], row["ours"], row["ref"], row["notepad"]))
        elif row["kind"] in ("limit", "detail-limit"):
            self.say("  %-34s %9d lines  %10.2f ms  (target under %g ms)" % (
                row["name"], row["lines"], row["ours"], row["ref"]))
        else:
            self.say("  %-34s %9d lines  %10.2f ms  %-34s %10.2f ms  x%.2f" % (
                row["name"], row["lines"], row["ours"], row["ref_name"], row["ref"], row["ours"] / row["ref"]))

    def windows(self):
        self.with_probe(self.window)

    def with_probe(self, measure):
        """measure(size, probe, warm) for each size, with the prefix's hosts file put back afterwards."""
        original = open(self.args.hosts, "rb").read() if os.path.exists(self.args.hosts) else None
        probe = WineHarness(self.args.probe, self.wine_env(), self.log, self.out)
        try:
            for i, size in enumerate(self.args.sizes):
                measure(size, probe, warm=i == 0)
        finally:
            probe.close()
            if original is None:
                os.remove(self.args.hosts)
            else:
                with open(self.args.hosts, "wb") as f:
                    f.write(original)


def first_line(argv):
    try:
        return subprocess.run(argv, capture_output=True, text=True).stdout.splitlines()[0].strip()
    except Exception:
        return "?"


def machine():
    model = "?"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    with open("/proc/meminfo") as f:
        memory = int(f.readline().split()[1]) // 1024
    debian = open("/etc/debian_version").read().strip() if os.path.exists("/etc/debian_version") else "?"
    return [
        ("CPU", "%s, %d cores (nproc)" % (model, os.cpu_count())),
        ("Memory", "%d MB" % memory),
        ("System", "Debian %s, Linux %s" % (debian, os.uname().release)),
        ("Wine", first_line(["wine", "--version"])),
        ("grep", first_line(["grep", "--version"])),
        ("iconv", first_line(["iconv", "--version"])),
    ]


def targets(rows, largest, middle):
    """(target, verdict, figure) for the largest file."""
    out = []
    by = {(r["name"], r["lines"]): r for r in rows}
    for r in rows:
        if r["lines"] != largest or r["kind"].startswith("detail"):
            continue
        if r["kind"] == "atleast":
            out.append(("%s: at least %g" % (r["name"].strip(), r["ref"]), "met" if r["ours"] >= r["ref"] else "missed",
                        "%d" % r["ours"]))
            continue
        if r["kind"] == "limit" and "WM_NULL" in r["name"]:
            out.append(("%s: under %g ms" % (r["name"].strip(), r["ref"]), "met" if r["ours"] < r["ref"] else "missed",
                        "%.1f ms" % r["ours"]))
            continue
        if r["kind"] == "ratio":
            limit = r.get("limit") or (1.0 if r["name"].startswith("window") else 1.5 if "first click" in r["name"]
                                        else 1.1 if "in pieces" in r["name"] else 2.0)
            ratio = r["ours"] / r["ref"]
            out.append(("%s: at most %gx %s" % (r["name"], limit, r["ref_name"]),
                        "met" if ratio <= limit else "missed", "x%.2f" % ratio))
        elif r["kind"] == "limit":
            out.append(("%s: under %g ms" % (r["name"], r["ref"]), "met" if r["ours"] < r["ref"] else "missed",
                        "%.1f ms" % r["ours"]))
        elif r["kind"] == "memory":
            out.append(("peak memory: at most 4 x the text in UTF-16 (%.1f MB)" % r["ref"],
                        "met" if r["ours"] <= r["ref"] else "missed",
                        "%.1f MB = %.2f x" % (r["ours"], r["ours"] / r["utf16"])))
        small = by.get((r["name"], middle))
        if small and r["kind"] in ("ratio", "limit"):
            growth = r["ours"] / small["ours"]
            figure = "x%.1f (%.1f -> %.1f ms)" % (growth, small["ours"], r["ours"])
            if "instructions" in r and "instructions" in small:
                figure += "; instructions x%.2f" % (r["instructions"] / small["instructions"])
            out.append(("%s: 10x the lines, at most 12x the time" % r["name"], "met" if growth <= 12 else "missed",
                        figure))
    return out


def markdown(rows, command, runs, goals):
    lines = ["Command: `%s`" % command, "", "Measured %s. Each figure is the median of its runs (%s)." % (
        datetime.date.today().isoformat(), runs), ""]
    lines += ["| Machine | |", "|---|---|"] + ["| %s | %s |" % kv for kv in machine()] + [""]
    lines += ["| Operation | Lines | Quenlix | Reference | Reference | Quenlix / reference |",
              "|---|---:|---:|---|---:|---:|"]
    for r in rows:
        name = r["name"].strip()
        if r["kind"].startswith("detail"):
            name = "&nbsp;&nbsp;&nbsp;&nbsp;" + name
        if r["kind"] == "atleast":
            lines.append("| %s | %d | %d | target | at least %d | %.2f |" % (
                name, r["lines"], r["ours"], r["ref"], r["ours"] / r["ref"]))
        elif r["kind"] == "memory":
            lines.append("| %s | %d | %.1f MB | 4 x text in UTF-16 (Notepad: %.1f MB) | %.1f MB | %.2f |" % (
                name, r["lines"], r["ours"], r["notepad"], r["ref"], r["ours"] / r["ref"]))
        elif r["kind"] in ("limit", "detail-limit"):
            ours = "%.1f ms" % r["ours"]
            if "spread" in r:
                ours += " (%.0f–%.0f)" % r["spread"][:2]
            lines.append("| %s | %d | %s | target | under %.0f ms | %.2f |" % (
                name, r["lines"], ours, r["ref"], r["ours"] / r["ref"]))
        else:
            ours = "%.2f ms" % r["ours"]
            ref = "%.2f ms" % r["ref"]
            if "spread" in r:
                ours += " (%.0f–%.0f)" % r["spread"][:2]
                ref += " (%.0f–%.0f)" % r["spread"][2:]
            lines.append("| %s | %d | %s | `%s` | %s | %.2f |" % (
                name, r["lines"], ours, r["ref_name"], ref, r["ours"] / r["ref"]))
    lines += ["", "| Target (largest file) | Result | Figure |", "|---|---|---|"]
    lines += ["| %s | %s | %s |" % g for g in goals]
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--data", required=True)
    parser.add_argument("--sizes", default="10000,100000,1000000")
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--window-runs", type=int, default=3)
    parser.add_argument("--native", required=True)
    parser.add_argument("--wine-bench", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--quenlix", required=True)
    parser.add_argument("--single-fill", help="the program built to fill Text1 in one piece, for the fill rows")
    parser.add_argument("--hosts", required=True, help="the hosts file inside the Wine prefix")
    parser.add_argument("--wine-locale", default="zh_CN.UTF-8")
    parser.add_argument("--skip", default="", help="comma-separated: native,diagnosis,instructions,store,window,fill,switch,checkwindow")
    parser.add_argument("--doc", help="the Markdown file whose generated part gets the results")
    skipped = os.environ.get("QUENLIX_BENCH_SKIP")
    parser.add_argument("--command", default=("QUENLIX_BENCH_SKIP=%s " % skipped if skipped else "") +
                        "bash scripts/bench.sh")
    parser.add_argument("--block", default="bench", help="the name of the generated block in --doc")
    args = parser.parse_args()
    args.sizes = [int(s) for s in args.sizes.split(",")]
    skip = set(filter(None, args.skip.split(",")))

    bench = Bench(args)
    print("%-36s %15s  %13s  %-34s %13s  %s" % ("operation", "", "Quenlix", "reference", "", "ratio"))
    for size in args.sizes:
        if "native" not in skip or "diagnosis" not in skip:
            bench.native(size, searches="native" not in skip, diagnosis="diagnosis" not in skip)
        if "store" not in skip:
            bench.store(size)
    if "native" not in skip and "instructions" not in skip:
        for size in sorted(args.sizes)[-2:]:
            bench.instructions(size)
    if "window" not in skip:
        bench.windows()
    if "fill" not in skip:
        bench.fills()
    if "checkwindow" not in skip:
        bench.window_checks()
    if "switch" not in skip:
        bench.switching()

    largest = max(args.sizes)
    smaller = [s for s in args.sizes if s < largest]
    goals = targets(bench.rows, largest, max(smaller) if smaller else None)
    runs = "%d runs a figure; %d for the window, 3 clicks a run" % (args.runs, args.window_runs)
    report = markdown(bench.rows, args.command, runs, goals)
    print()
    print(report)
    if args.doc:
        with open(args.doc) as f:
            doc = f.read()
        begin, end = "<!-- %s: begin -->" % args.block, "<!-- %s: end -->" % args.block
        pattern = re.compile(re.escape(begin) + ".*?" + re.escape(end), re.S)
        if not pattern.search(doc):
            sys.exit("%s has no %s ... %s block" % (args.doc, begin, end))
        doc = pattern.sub(lambda m: begin + "\n" + report + end, doc)
        with open(args.doc, "w") as f:
            f.write(doc)
        print("written to %s" % args.doc)


if __name__ == "__main__":
    main()
