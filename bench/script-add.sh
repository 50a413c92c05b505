#!/usr/bin/env bash
# The command line's /add on a hosts file of a million lines, the whole
# process under Wine, against cmd's "echo … >> hosts" in the same run
# (hyperfine, interleaved, the file put back before every run); prints both
# medians and their ratio. Needs the Windows build (scripts/test.sh or
# scripts/run.sh makes it).
#   bash bench/script-add.sh [LINES] [RUNS]
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
lines="${1:-1000000}"; runs="${2:-11}"
data="$QUENLIX_BUILD/bench-data"; mkdir -p "$data"
python3 "$QUENLIX_ROOT/bench/make-hosts.py" "$data" "$lines" >/dev/null
ensure_display
start_wine
hosts="$WINEPREFIX/drive_c/windows/system32/drivers/etc/hosts"
saved="$(mktemp)"; cp "$hosts" "$saved"
json="$(mktemp)"
LC_ALL=$QUENLIX_WINE_LOCALE hyperfine -N --warmup 1 --runs "$runs" --export-json "$json" \
  --prepare "cp $data/hosts-$lines.txt $hosts" \
  "wine $QUENLIX_BUILD/windows/Quenlix.exe /add 1.2.3.4 bench.example" \
  "wine cmd /c \"echo 1.2.3.4 bench.example>>C:\\windows\\system32\\drivers\\etc\\hosts\"" >/dev/null
cp "$saved" "$hosts"; rm -f "$saved"
stop_wine
python3 - "$json" <<'PY'
import json, statistics, sys
quenlix, echo = (statistics.median(r["times"]) for r in json.load(open(sys.argv[1]))["results"])
print(f"/add {quenlix * 1000:.0f} ms, cmd echo {echo * 1000:.0f} ms (medians): x{quenlix / echo:.2f}")
PY
rm -f "$json"
