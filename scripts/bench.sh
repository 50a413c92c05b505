#!/usr/bin/env bash
# Measures Quenlix on generated hosts files of 10,000, 100,000 and 1,000,000
# lines against reference tools run in the same command (iconv, grep, Wine's
# Notepad), prints a table and writes it into docs/performance.md.
#
# Builds in a tree of its own (build/bench, with its own Wine prefix, whose
# hosts file it swaps for the test files and puts back), so that it disturbs
# no other build. Settings, all optional:
#   QUENLIX_BENCH_SIZES=10000,100000   QUENLIX_BENCH_RUNS=7   QUENLIX_BENCH_WINDOW_RUNS=3
#   QUENLIX_BENCH_SKIP=native,instructions,store,window,fill,switch,startup,diagnosis   QUENLIX_BENCH_DOC=none (print only)
#   QUENLIX_BENCH_FILL_SIZES=100000,1000000 (the fill of Text1 in pieces)
#   QUENLIX_BENCH_SWITCH_SIZES=100000 (a group of that many entries switched in Text1)
#   QUENLIX_BENCH_DIAGNOSIS_SIZES=100000,1000000 (the check, the trace and packing)
QUENLIX_BUILD="${QUENLIX_BUILD:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/bench}"
export QUENLIX_BUILD
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$QUENLIX_ROOT/scripts/setup.sh"

# Release builds: the Windows one is the program users get.
configure_and_build native quenlix_bench_native -DCMAKE_BUILD_TYPE=Release >/dev/null
configure_and_build windows Quenlix -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$QUENLIX_ROOT/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$QUENLIX_BUILD/windows" -j "$(nproc)" --target quenlix_bench quenlix_probe quenlix_single_fill >/dev/null

sizes="${QUENLIX_BENCH_SIZES:-10000,100000,1000000}"
data="$QUENLIX_ROOT/build/bench-data"
fill_sizes="${QUENLIX_BENCH_FILL_SIZES:-100000,1000000}"
diagnosis_sizes="${QUENLIX_BENCH_DIAGNOSIS_SIZES:-100000,1000000}"
python3 "$QUENLIX_ROOT/bench/make-hosts.py" "$data" ${sizes//,/ } ${fill_sizes//,/ } ${diagnosis_sizes//,/ } 21

ensure_display
start_wine

doc="${QUENLIX_BENCH_DOC:-$QUENLIX_ROOT/docs/performance.md}"
doc_args=()
[ "$doc" = none ] || doc_args=(--doc "$doc")
# One generated block of the document: what every block is given, then the
# block's own settings (a setting given twice takes the later value).
bench_block() {
  python3 "$QUENLIX_ROOT/bench/bench.py" --data "$data" \
    --native "$QUENLIX_BUILD/native/bench/quenlix_bench_native" \
    --wine-bench "$QUENLIX_BUILD/windows/bench/quenlix_bench.exe" \
    --probe "$QUENLIX_BUILD/windows/bench/quenlix_probe.exe" \
    --quenlix "$QUENLIX_BUILD/windows/Quenlix.exe" \
    --single-fill "$QUENLIX_BUILD/windows/bench/quenlix_single_fill.exe" \
    --hosts "$WINEPREFIX/drive_c/windows/system32/drivers/etc/hosts" \
    --wine-locale "$QUENLIX_WINE_LOCALE" "${doc_args[@]}" "$@"
}
# The main table, unless every part of it is skipped.
case ",${QUENLIX_BENCH_SKIP:-}," in *,native,*store,*window,*) ;; *)
bench_block --sizes "$sizes" \
  --runs "${QUENLIX_BENCH_RUNS:-7}" --window-runs "${QUENLIX_BENCH_WINDOW_RUNS:-3}" \
  --skip "${QUENLIX_BENCH_SKIP:-},diagnosis,fill,switch,checkwindow"
;; esac

# A large file into Text1 a piece at a time, with the window shown at once,
# against the same program filling Text1 in one piece.
case ",${QUENLIX_BENCH_SKIP:-}," in *,fill,*) ;; *)
bench_block --sizes "$fill_sizes" \
  --runs 1 --window-runs "${QUENLIX_BENCH_WINDOW_RUNS:-3}" --skip native,instructions,store,window,switch,checkwindow \
  --block fill
;; esac

# The whole-text check, the trace of a name and packing (Text1's context
# menu), natively, against grep in the same run; and F8 in the program's own
# window against the window showing the same file (skip: checkwindow).
case ",${QUENLIX_BENCH_SKIP:-}," in *,diagnosis,*) ;; *)
bench_block --sizes "$diagnosis_sizes" \
  --runs "${QUENLIX_BENCH_RUNS:-7}" --window-runs "${QUENLIX_BENCH_WINDOW_RUNS:-3}" \
  --skip "native,instructions,store,window,fill,switch,${QUENLIX_BENCH_SKIP:-}" \
  --block diagnosis
;; esac

# Starting at once: the program and Wine's Notepad on a stock-size hosts file
# (its 21 lines), from process start to the window shown.
case ",${QUENLIX_BENCH_SKIP:-}," in *,startup,*) ;; *)
bench_block --sizes 21 \
  --runs 1 --window-runs "${QUENLIX_BENCH_START_RUNS:-7}" --skip native,instructions,store,fill,switch,checkwindow \
  --block startup
;; esac

# A group of entries switched off in Text1 by the program's command, against
# the same control's EM_REPLACESEL of the same range with the same text.
case ",${QUENLIX_BENCH_SKIP:-}," in *,switch,*) ;; *)
bench_block --sizes "${QUENLIX_BENCH_SWITCH_SIZES:-100000}" \
  --runs "${QUENLIX_BENCH_RUNS:-7}" --skip native,instructions,store,window,fill,checkwindow \
  --block switch
;; esac
