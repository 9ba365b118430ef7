#!/usr/bin/env bash
# Charts per second of `vantora-chart --batch` on random births, with one and with two threads:
# per second of CPU time (user + system) and per second of wall time.
# Usage: bench/batch_rate.sh [PROGRAM] [COUNT]   (defaults: build/bin/vantora-chart, 200000)
# The births come from bench/make_births.py (seed 1); the output of each run is compared with the
# first run's, byte for byte.
set -euo pipefail
program=${1:-build/bin/vantora-chart}
count=${2:-200000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$(dirname "$0")/make_births.py" "$count" > "$work/births.jsonl"
for jobs in 1 2; do
  /usr/bin/time -f "%e %U %S" -o "$work/time" "$program" --batch --jobs "$jobs" \
    < "$work/births.jsonl" > "$work/out$jobs.jsonl" || [[ $? == 1 ]]
  read -r wall user system < "$work/time"
  awk -v n="$count" -v j="$jobs" -v w="$wall" -v c="$(echo "$user + $system" | bc)" \
    'BEGIN { printf "jobs %d: %.0f charts/s of CPU time, %.0f charts/s of wall time (%.2f s wall)\n", j, n / c, n / w, w }'
done
cmp -s "$work/out1.jsonl" "$work/out2.jsonl" && echo "two threads: byte-identical to one" || echo "two threads: DIFFERENT"
