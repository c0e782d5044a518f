#!/bin/sh
# Benchmarks of what users run: the whole `zalprint print` process next to
# the I/O floor of the same jobs (zalfloor: read each job file whole, append
# a label's worth of bytes to one output file), alternating, median of the
# pairs; system calls per job (strace, when installed); peak memory of long
# runs against short ones; and the library alone, in process (zalbench).
#
#   scripts/bench.sh BUILD_DIR
#
# BENCH_JOBS (1000) jobs per run, BENCH_PAIRS (5) alternating pairs,
# BENCH_MEMORY_JOBS (20000) for the memory check; files go to ZALBENCH_DIR,
# else /dev/shm, else /tmp.
set -eu
build=$1
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$build/bin
n=${BENCH_JOBS:-1000}
pairs=${BENCH_PAIRS:-5}
memory_jobs=${BENCH_MEMORY_JOBS:-20000}
base=${ZALBENCH_DIR:-/dev/shm}
[ -d "$base" ] && [ -w "$base" ] || base=/tmp
work=$(mktemp -d "$base/zalbench.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
# zalprint's work folder beside the jobs, so its second name for each job
# is a link and not a copy.
export TMPDIR="$work" ZAL2443_HOME="$work/home" ZAL2443_PROMPT=cancel
profile=$root/examples/profile.ini
settings=$root/examples/settings.ini

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
field() { sed -n "s/.*$1=\([0-9]*\).*/\1/p"; }

make_jobs() {  # make_jobs TEMPLATE COUNT FOLDER
  rm -rf "$3"
  mkdir -p "$3"
  i=1
  while [ "$i" -le "$2" ]; do
    cp "$1" "$3/job$i.job"
    i=$((i + 1))
  done
}

zalprint_run() {  # zalprint_run FOLDER OUT
  "$bin/zalprint" print "$1"/*.job --profile "$profile" --device Label1 --settings "$settings" --out "$2"
}

syscalls() {  # syscalls COMMAND...: system calls of the whole process
  strace -f -c -o "$work/strace.txt" "$@" > /dev/null 2>&1 || true
  awk '$NF == "total" { print $(NF-2) }' "$work/strace.txt"
}

echo "== whole process: zalprint print with --out, against the floor ($n jobs, $pairs pairs, files in $base)"
printf '%-22s %12s %12s %8s %14s %14s\n' job "zalprint us" "floor us" ratio "zalprint kB" "floor kB"
for template in "$root/examples/ups-domestic.job" "$root/examples/generic.job"; do
  jobs=$work/jobs
  make_jobs "$template" "$n" "$jobs"
  zalprint_run "$jobs" "$work/out.epl" > /dev/null
  bytes=$(( $(wc -c < "$work/out.epl") / n ))
  : > "$work/z.txt"
  : > "$work/f.txt"
  p=1
  while [ "$p" -le "$pairs" ]; do
    rm -f "$work/out.epl" "$work/floor.out"
    "$bin/zaltime" "$bin/zalprint" print "$jobs"/*.job --profile "$profile" --device Label1 --settings "$settings" \
      --out "$work/out.epl" 2>&1 > /dev/null | grep '^us=' >> "$work/z.txt"
    "$bin/zaltime" "$bin/zalfloor" --bytes "$bytes" --out "$work/floor.out" "$jobs"/*.job 2>> "$work/f.txt"
    p=$((p + 1))
  done
  z=$(field us < "$work/z.txt" | median)
  f=$(field us < "$work/f.txt" | median)
  zk=$(field kb < "$work/z.txt" | median)
  fk=$(field kb < "$work/f.txt" | median)
  printf '%-22s %12.1f %12.1f %7.1fx %14s %14s\n' "$(basename "$template")" "$(echo "$z $n" | awk '{print $1/$2}')" \
    "$(echo "$f $n" | awk '{print $1/$2}')" "$(echo "$z $f" | awk '{print $1/$2}')" "$zk" "$fk"
  if command -v strace > /dev/null 2>&1; then
    rm -f "$work/out.epl" "$work/floor.out"
    zs=$(syscalls "$bin/zalprint" print "$jobs"/*.job --profile "$profile" --device Label1 --settings "$settings" \
      --out "$work/out.epl")
    fs=$(syscalls "$bin/zalfloor" --bytes "$bytes" --out "$work/floor.out" "$jobs"/*.job)
    printf '%-22s system calls per job: zalprint %s, floor %s\n' "" "$(echo "$zs $n" | awk '{printf "%.1f", $1/$2}')" \
      "$(echo "$fs $n" | awk '{printf "%.1f", $1/$2}')"
  fi
done

echo "== peak memory: zalprint print --out and zalprint preview, long runs against short ones"
make_jobs "$root/examples/ups-domestic.job" 10 "$work/few"
make_jobs "$root/examples/ups-domestic.job" "$memory_jobs" "$work/many"
few=$("$bin/zaltime" "$bin/zalprint" print "$work/few"/*.job --profile "$profile" --device Label1 \
  --settings "$settings" --out "$work/few.epl" 2>&1 > /dev/null | field kb)
many=$("$bin/zaltime" "$bin/zalprint" print "$work/many"/*.job --profile "$profile" --device Label1 \
  --settings "$settings" --out "$work/many.epl" 2>&1 > /dev/null | field kb)
echo "print --out: 10 jobs ${few} kB, $memory_jobs jobs ${many} kB"
if "$bin/zalprint" preview --help > /dev/null 2>&1; then
  head -c "$(( $(wc -c < "$work/many.epl") / memory_jobs * 1000 ))" "$work/many.epl" > "$work/1000.epl"
  mkdir -p "$work/png"
  few=$("$bin/zaltime" "$bin/zalprint" preview "$work/few.epl" -o "$work/png/few.png" 2>&1 > /dev/null | field kb)
  many=$("$bin/zaltime" "$bin/zalprint" preview "$work/1000.epl" -o "$work/png/many.png" 2>&1 > /dev/null | field kb)
  echo "preview: 10 labels ${few} kB, 1000 labels ${many} kB"
fi

echo "== the library alone, in process (zalbench)"
for template in "$root/examples/ups-domestic.job" "$root/examples/generic.job"; do
  cp "$template" "$work/template.job"
  echo "-- $(basename "$template")"
  "$bin/zalbench" "$work/template.job" --profile "$profile" --jobs "$n"
  "$bin/zalbench" "$work/template.job" --profile "$profile" --jobs "$n" --log-flags 0x8
done
