#!/bin/sh
# Benchmarks: labels per second through the exported interface with logging
# off and with DEBUG logging, next to the I/O floor, and peak memory for a
# batch of 1000.  scripts/bench.sh BUILD_DIR [JOB ...]
set -eu
build=$1
shift
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -gt 0 ] || set -- "$root/examples/generic.job"
n=${BENCH_JOBS:-20000}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for job in "$@"; do
  cp "$job" "$tmp/job"
  echo "== $(basename "$job")"
  "$build/bin/zalbench" "$tmp/job" --profile "$root/examples/profile.ini" --jobs "$n"
  "$build/bin/zalbench" "$tmp/job" --profile "$root/examples/profile.ini" --jobs "$n" --floor
  "$build/bin/zalbench" "$tmp/job" --profile "$root/examples/profile.ini" --jobs "$n" --log-flags 0x1FF0F
  "$build/bin/zalbench" "$tmp/job" --profile "$root/examples/profile.ini" --jobs 1000
done
