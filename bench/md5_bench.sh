#!/usr/bin/env bash
# FileMD5 throughput against md5sum's on one 256 MiB file, and their ratio (target: 0.9 or more).
#   bench/md5_bench.sh [BUILD-DIR]     (default build/bench, made by: cmake --preset bench &&
#                                       cmake --build --preset bench --target md5_bench)
set -euo pipefail
build=${1:-build/bench}
file=$(mktemp /tmp/korvel-md5-bench.XXXXXX)
trap 'rm -f "$file"' EXIT
head -c $((256 * 1024 * 1024)) /dev/urandom > "$file"
echo "md5sum: $(md5sum "$file" | cut -d' ' -f1)"
KORVEL_MD5_BENCH_FILE=$file "$build/bench/md5_bench" --benchmark_format=json --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true |
python3 -c '
import json, sys
runs = {b["run_name"]: b for b in json.load(sys.stdin)["benchmarks"] if b.get("aggregate_name") == "median"}
ours, theirs = runs["BM_FileMD5/min_time:3.000/real_time"], runs["BM_md5sum/min_time:3.000/real_time"]
mib = lambda b: b["bytes_per_second"] / 2**20
print("FileMD5 %s: %.0f MiB/s" % (ours.get("label", ""), mib(ours)))
print("md5sum:  %.0f MiB/s" % mib(theirs))
print("ratio:   %.2f" % (mib(ours) / mib(theirs)))
'
