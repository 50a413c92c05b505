#!/usr/bin/env bash
# Builds both trees and runs every test: native, then under Wine, then the
# fuzzers and the release checks. Prints how long each phase took, one line
# each ("phase native-build: 42 s"), and ends with one summary line:
# "tests: N passed, N failed".
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

phase_start=$SECONDS
phase_done() {  # name
  echo "phase $1: $((SECONDS - phase_start)) s"
  phase_start=$SECONDS
}

"$QUENLIX_ROOT/scripts/setup.sh"
phase_done setup

# The native tests run under AddressSanitizer and UndefinedBehaviorSanitizer.
build_native -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
phase_done native-build
build_windows
phase_done windows-build

passed=0; failed=0; status=0

# The counts come from CTest's own record of each test (its JUnit file) and
# its exit status, never from its console text: a run that wrote no record,
# or one that failed without a failed test in it, counts as a failure.
run_ctest() {  # build folder name
  local tree="$QUENLIX_BUILD/$1"
  local log="$tree/ctest.log" junit="$tree/ctest-junit.xml" code_file="$tree/ctest.status"
  rm -f "$junit" "$code_file"
  { local code=0
    ctest --test-dir "$tree" --output-on-failure -j "$(nproc)" --timeout 120 --no-tests=error \
          --output-junit "$junit" 2>&1 || code=$?
    echo "$code" >"$code_file"
  } | tee "$log" | { grep -v -E '^\s*[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed' || true; }
  local counts good bad
  counts=$(python3 "$QUENLIX_ROOT/scripts/ctest-counts.py" "$junit" "$code_file" "$1") || counts="0 1"
  read -r good bad <<<"$counts"
  passed=$((passed + good)); failed=$((failed + bad))
  [ "$bad" -eq 0 ] || status=1
}
run_ctest native
phase_done native-tests

ensure_display
if start_wine; then
  run_ctest windows
else
  echo "the Windows tests did not run: Wine did not start" >&2
  failed=$((failed + 1)); status=1
fi
stop_wine
phase_done wine-tests

# Checks run by scripts of their own: each prints one line per check,
# "PASS name" or "FAIL name"; a script that fails without saying which
# check failed counts as one failure.
run_checks() {  # name, script, arguments...
  local name="$1" log="$QUENLIX_BUILD/$1.log" ok=true good bad
  shift
  "$@" >"$log" 2>&1 || ok=false
  grep -E '^(PASS|FAIL) ' "$log" || true
  good=$(grep -c '^PASS ' "$log" || true)
  bad=$(grep -c '^FAIL ' "$log" || true)
  if ! $ok; then
    status=1; [ "$bad" -gt 0 ] || bad=1
    echo "$name failed; its whole output: $log"
  fi
  passed=$((passed + good)); failed=$((failed + bad))
}
# Every #include under src/ points down the layers of the tree.
run_checks includes "$QUENLIX_ROOT/scripts/check-includes.sh"
# The fuzzers, briefly, under AddressSanitizer and UndefinedBehaviorSanitizer.
run_checks fuzz "$QUENLIX_ROOT/scripts/fuzz.sh"
phase_done fuzzers
# The release archive: built twice and compared, then its contents, imports and size.
run_checks release "$QUENLIX_ROOT/scripts/release-checks.sh"
phase_done release-checks

echo "tests: $passed passed, $failed failed"
exit $status
