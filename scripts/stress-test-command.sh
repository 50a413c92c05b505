#!/usr/bin/env bash
# Runs the README's test command N times, each time in a clean clone of the
# current commit in a folder of its own, one run after the other, as CI runs
# it: no display, no standard input. Prints each run's summary line and wall
# time, and exits non-zero if any run failed. What the first run installs
# (scripts/setup.sh) the later runs find installed.
#
#   scripts/stress-test-command.sh N          (default: 3)
#   QUENLIX_STRESS_KEEP=1                     keep the clones, not only the logs
#
# Each run's whole output is kept in its log; the path is printed.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${1:-3}"
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "usage: $0 [N]" >&2; exit 2; }

commit=$(git -C "$root" rev-parse HEAD)
if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
  echo "note: the work tree has changes that are not committed; the clones test $commit without them" >&2
fi
logs=$(mktemp -d "${TMPDIR:-/tmp}/quenlix-stress.XXXXXX")
echo "commit $commit; logs in $logs"

# A run that is stopped halfway leaves no clone behind either.
work=
trap '[ -z "$work" ] || [ "${QUENLIX_STRESS_KEEP:-0}" = 1 ] || rm -rf "$work"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

failures=0
for i in $(seq "$runs"); do
  work=$(mktemp -d "${TMPDIR:-/tmp}/quenlix-clone.XXXXXX")
  log="$logs/run-$i.log"
  git clone -q --no-hardlinks "$root" "$work/Quenlix"
  git -C "$work/Quenlix" checkout -q --detach "$commit"
  start=$SECONDS
  status=0
  # Nothing of this shell's set-up reaches the run: no display to borrow, no
  # build folder or Wine prefix of another tree.
  (cd "$work/Quenlix" && exec env -u DISPLAY -u QUENLIX_BUILD -u WINEPREFIX bash scripts/test.sh) \
    </dev/null >"$log" 2>&1 || status=$?
  seconds=$((SECONDS - start))
  summary=$(tail -n 1 "$log")
  if [ "$status" -ne 0 ] || ! [[ "$summary" =~ ^tests:\ [0-9]+\ passed,\ 0\ failed$ ]]; then
    failures=$((failures + 1))
    echo "run $i: $summary (exit status $status) in $seconds s  FAILED, log $log"
  else
    echo "run $i: $summary in $seconds s"
  fi
  if [ "${QUENLIX_STRESS_KEEP:-0}" = 1 ]; then echo "  clone kept in $work/Quenlix"; else rm -rf "$work"; fi
  work=
done
echo "$((runs - failures)) of $runs runs passed"
[ "$failures" -eq 0 ]
