#!/usr/bin/env bash
# The command line's /check on a generated hosts file, the whole process
# under Wine: the file in code page 936, as Chinese Windows writes it, against
# the same text in UTF-8, which has no character to ask the code page about,
# and /? for the start of the process alone (hyperfine, interleaved, the file
# put in place before every run); prints the medians and the ratio of the two
# checks. Needs the Windows build (scripts/test.sh or scripts/run.sh makes it).
#   bash bench/script-check.sh [LINES] [RUNS]
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
lines="${1:-1000000}"; runs="${2:-7}"
data="$QUENLIX_BUILD/bench-data"; mkdir -p "$data"
python3 "$QUENLIX_ROOT/bench/make-hosts.py" "$data" "$lines" >/dev/null
iconv -f GBK -t UTF-8 "$data/hosts-$lines.txt" > "$data/hosts-$lines.utf8"
ensure_display
start_wine
hosts="$WINEPREFIX/drive_c/windows/system32/drivers/etc/hosts"
saved="$(mktemp)"; cp "$hosts" "$saved"
json="$(mktemp)"
exe="$QUENLIX_BUILD/windows/Quenlix.exe"
# Output to a file, as a script would take it: a pipe to Wine is held open
# by its background processes.
LC_ALL=$QUENLIX_WINE_LOCALE hyperfine -N -i --warmup 1 --runs "$runs" --export-json "$json" \
  --prepare "cp $data/hosts-$lines.txt $hosts" \
  --prepare "cp $data/hosts-$lines.utf8 $hosts" \
  --prepare "cp $data/hosts-$lines.txt $hosts" \
  --output "$data/check-output.txt" \
  "wine $exe /check" "wine $exe /check " "wine $exe /?" >/dev/null
cp "$saved" "$hosts"; rm -f "$saved"
stop_wine
python3 - "$json" <<'PY'
import json, statistics, sys
ansi, utf8, start = (statistics.median(r["times"]) * 1000 for r in json.load(open(sys.argv[1]))["results"])
print(f"/check: code page 936 {ansi:.0f} ms, UTF-8 {utf8:.0f} ms, /? {start:.0f} ms (medians): 936 / UTF-8 x{ansi / utf8:.2f}")
PY
rm -f "$json"
