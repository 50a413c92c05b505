#!/usr/bin/env bash
# Builds both trees and runs every test: native, then under Wine.
# Ends with one summary line: "tests: N passed, N failed".
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$QUENLIX_ROOT/scripts/setup.sh"

# The native tests run under AddressSanitizer and UndefinedBehaviorSanitizer.
build_native -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
build_windows

ensure_display
trap stop_all EXIT
start_wine

passed=0; failed=0; status=0
run_ctest() {  # build folder name
  local log="$QUENLIX_BUILD/$1/ctest.log"
  ctest --test-dir "$QUENLIX_BUILD/$1" --output-on-failure -j "$(nproc)" --timeout 120 2>&1 | tee "$log" \
    | grep -v -E '^\s*[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed' || true
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$line" ]; then echo "ctest in $1 gave no result" >&2; status=1; return; fi
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.*, ([0-9]+) tests? failed.*/\1/' <<<"$line")
  passed=$((passed + total - bad)); failed=$((failed + bad))
  [ "$bad" -eq 0 ] || status=1
}
run_ctest native
run_ctest windows

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
# The fuzzers, briefly, under AddressSanitizer and UndefinedBehaviorSanitizer.
run_checks fuzz "$QUENLIX_ROOT/scripts/fuzz.sh"
# The release archive: built twice and compared, then its contents, imports and size.
run_checks release "$QUENLIX_ROOT/scripts/release-checks.sh"

echo "tests: $passed passed, $failed failed"
exit $status
