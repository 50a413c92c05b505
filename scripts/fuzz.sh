#!/usr/bin/env bash
# Builds the fuzzers (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build/fuzz and runs each of them.
#
#   scripts/fuzz.sh                     a few seconds each, from a copy of the
#                                       seed corpus (the test command's run)
#   scripts/fuzz.sh --long SECONDS      SECONDS each, growing a kept corpus in
#                                       build/fuzz/corpus
#   ... [NAME...]                       only these fuzzers (e.g. Store)
#
# Prints one line per fuzzer, "PASS fuzz NAME: N runs" or "FAIL fuzz NAME:
# ...", and exits non-zero when any fuzzer finds a fault. A failing
# input is kept in build/fuzz/artifacts/NAME; replay it with
# build/fuzz/fuzz/fuzz_NAME FILE.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

seconds=4
long=0
if [ "${1:-}" = "--long" ]; then
  [[ "${2:-}" =~ ^[0-9]+$ ]] || { echo "usage: $0 [--long SECONDS] [NAME...]" >&2; exit 2; }
  seconds=$2; long=1; shift 2
fi
names=("$@")
[ ${#names[@]} -gt 0 ] || names=(LineRule LinePicker Searches DuplicateLines StringRules Store EntrySwitch)

tree="$QUENLIX_BUILD/fuzz"
mkdir -p "$tree/logs"
# A custom build type adds no flags of its own: only these, the same for
# quenlix_core and the fuzzers, and assertions stay on.
if ! configure_and_build fuzz all -DQUENLIX_FUZZ=ON -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=Fuzz \
       -DCMAKE_CXX_COMPILER=clang++ \
       "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all -g -O1" \
       >"$tree/logs/build.log" 2>&1; then
  cat "$tree/logs/build.log" >&2
  echo "fuzz: the build failed" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export UBSAN_OPTIONS=print_stacktrace=1

run_one() {  # name
  local name="$1" corpus log="$tree/logs/$1.log" artifacts="$tree/artifacts/$1"
  if [ "$long" -eq 1 ]; then
    corpus="$tree/corpus/$name"  # kept from one long run to the next
  else
    corpus="$work/$name"         # the committed seeds stay as they are
  fi
  mkdir -p "$corpus" "$artifacts"
  cp -n "$QUENLIX_ROOT/fuzz/corpus/$name"/* "$corpus"/ 2>/dev/null || true
  local status=0
  "$tree/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1 || status=$?
  local runs
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  if [ "$status" -eq 0 ]; then
    echo "PASS fuzz $name: ${runs:-0} runs"
  else
    echo "FAIL fuzz $name: after ${runs:-?} runs (log $log)"
    { grep -E -A2 '^(MISMATCH|PROPERTY FAILED)' "$log"
      grep -E -A8 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error|ERROR: libFuzzer: (timeout|out-of-memory)' "$log"
    } | head -n 20 >&2 || true
    grep -E 'Test unit written to' "$log" >&2 || true
  fi
  return "$status"
}

# As many at once as there are cores: the short run stays a few seconds long.
failed=0
jobs_running=0
for name in "${names[@]}"; do
  if [ ! -x "$tree/fuzz/fuzz_$name" ]; then echo "FAIL fuzz $name: no such fuzzer"; failed=1; continue; fi
  if [ "$jobs_running" -ge "$(nproc)" ]; then
    wait -n || failed=1
    jobs_running=$((jobs_running - 1))
  fi
  run_one "$name" &
  jobs_running=$((jobs_running + 1))
done
while [ "$jobs_running" -gt 0 ]; do
  wait -n || failed=1
  jobs_running=$((jobs_running - 1))
done
exit $failed
