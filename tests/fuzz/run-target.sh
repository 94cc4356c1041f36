#!/bin/sh
# Runs one fuzz target for a bounded time over its working corpus and its seeds, its output in
# <work>.log; prints the executions and the time (also into <work>.summary), and the whole
# log when the target failed.
#   run-target.sh <program> <seconds> <timeout per input> <work corpus> <seeds> <artifact prefix>
program=$1
seconds=$2
timeout=$3
work=$4
seeds=$5
artifacts=$6
mkdir -p "$work"
log="$work.log"
status=0
"$program" -max_total_time="$seconds" -timeout="$timeout" -print_final_stats=1 \
    -artifact_prefix="$artifacts" "$work" "$seeds" >"$log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
    cat "$log"
fi
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
time=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log")
summary="$(basename "$program"): ${runs:-?} executions in ${time:-?} s, corpus $(ls "$work" | wc -l) inputs, status $status"
echo "$summary" | tee "$work.summary"
exit "$status"
