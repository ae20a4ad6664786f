#!/usr/bin/env bash
# Runs a test program again and again while two busy processes compete for the cores, each round
# with a time limit, so that a hang that shows once in hundreds of runs fails with its round
# instead of holding the whole run. Usage: under_load.sh PROGRAM REPETITIONS [gtest filter]
set -euo pipefail
program=${1:?test program}
repetitions=${2:-2000}
filter=${3:-*}
per_round=20
busy=()
for _ in 1 2; do
    (while :; do :; done) &
    busy+=($!)
done
trap 'kill "${busy[@]}" 2>/dev/null || true' EXIT
done_runs=0
while [ "$done_runs" -lt "$repetitions" ]; do
    if ! timeout 120 "$program" --gtest_filter="$filter" --gtest_repeat=$per_round \
        --gtest_brief=1 >/tmp/under_load.$$.log 2>&1; then
        echo "under_load: $program failed or hung after $done_runs repetitions" >&2
        tail -n 30 /tmp/under_load.$$.log >&2
        rm -f /tmp/under_load.$$.log
        exit 1
    fi
    done_runs=$((done_runs + per_round))
done
rm -f /tmp/under_load.$$.log
echo "under_load: $repetitions repetitions of $program passed"
