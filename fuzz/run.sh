#!/bin/sh
# Runs the fuzz targets of a `make fuzz` build, one after the other.
#   fuzz/run.sh BUILD SECONDS [TARGET...]    each target for SECONDS
#   fuzz/run.sh --merge BUILD [TARGET...]    fold what the runs found into the
#                                            committed corpus, minimised
#   fuzz/run.sh --seed BUILD [TARGET...]     the committed corpus afresh from
#                                            the golden labels, minimised
# A run starts from the committed corpus (fuzz/corpus/TARGET) and keeps what
# it finds in BUILD/corpus/TARGET; a crash is written to BUILD/crashes/.
# FUZZ_FLAGS adds libFuzzer flags, e.g. "-fork=1 -ignore_crashes=1" to go on
# past a known crash.
set -u
here=$(cd "$(dirname "$0")" && pwd)
mode=run
case "${1:-}" in
  --merge) mode=merge; shift ;;
  --seed) mode=seed; shift ;;
esac
build=${1:?usage: fuzz/run.sh BUILD SECONDS [TARGET...] | --merge BUILD | --seed BUILD}
shift
seconds=60
if [ $mode = run ]; then seconds=${1:?seconds}; shift; fi
[ $# -gt 0 ] || set -- ini job epl
export ZAL2443_PROMPT=cancel

# Minimises the inputs of the given folders into the committed corpus: the
# fewest files that keep every edge covered (hit counts left out, which keeps
# the corpus a tenth of the size).
minimise() {
  target=$1; shift
  fresh=$build/corpus/$target.merged
  rm -rf "$fresh" && mkdir -p "$fresh"
  "$build/bin/${target}_fuzzer" -merge=1 -use_counters=0 "$fresh" "$@" 2>&1 | grep -E "MERGE-OUTER: [0-9]+ new files" || true
  mkdir -p "$here/corpus" && rm -rf "$here/corpus/$target" && mv "$fresh" "$here/corpus/$target"
  echo "$target: $(ls "$here/corpus/$target" | wc -l) file(s) in fuzz/corpus/$target"
}

# Seeds from the golden cases: the job files for the INI reader (with an
# edit of their carrier) and for the job (first byte: the carrier and the
# media of the case, then the lines after the carrier's), the expected
# streams for the EPL2 reader.
seed() {
  target=$1 dir=$2
  mkdir -p "$dir"
  n=0
  for case in "$here"/../tests/golden/cases/*/; do
    for file in "$case"job*.ini "$case"*.JOB "$case"expected.epl; do
      [ -f "$file" ] || continue
      n=$((n + 1))
      case "$target:$file" in
        epl:*expected.epl) cp "$file" "$dir/$n" ;;
        ini:*expected.epl|job:*expected.epl|epl:*) ;;
        ini:*) { printf 'Begin\nCarrier\nUPS'; printf '\000'; cat "$file"; } > "$dir/$n" ;;
        job:*) seed_job "$file" "$case" > "$dir/$n" ;;
      esac
    done
  done
}

seed_job() {
  carrier=$(grep -a -i -m1 '^Carrier=' "$1" | tr -d '\r' | cut -d= -f2-)
  index=$(printf '%s\n' GEN CUSTOM RECEIPT DEPTSTORE RRDL ECON UPSBARCODE FONTS DIAG UPS UPSAP UPSFLEX UPSINT \
          UPSPR "UPS PICKUP" UPSMI UPSMIR SUREPOST FDX FDXINT POS SMARTPOST CN22 DHL RPS FXR LONESTAR ONTRAC PCD RTX |
          grep -n -i -x -F -e "$carrier" | cut -d: -f1)
  index=$(( ${index:-1} - 1 ))
  case "$(cat "$2cmd")" in
    *"--media 1220"*) index=$((index + 32)) ;;
    *"--media 1240"*) index=$((index + 64)) ;;
  esac
  # shellcheck disable=SC2059
  printf "\\$(printf '%03o' "$index")"
  grep -a -v -i -e '^\[Begin\]' -e '^Carrier=' "$1"
}

status=0
for target in "$@"; do
  fuzzer=$build/bin/${target}_fuzzer
  [ -x "$fuzzer" ] || { echo "fuzz: $fuzzer is missing (make fuzz builds it)" >&2; exit 2; }
  case $mode in
    seed)
      rm -rf "$build/seeds/$target"
      seed "$target" "$build/seeds/$target"
      minimise "$target" "$build/seeds/$target" ;;
    merge)
      minimise "$target" "$here/corpus/$target" "$build/corpus/$target" ;;
    run)
      mkdir -p "$build/corpus/$target" "$build/crashes"
      # Short inputs run faster and find the same faults; a job file keeps
      # room for a whole golden job.
      case $target in job) max_len=4096 ;; *) max_len=1024 ;; esac
      echo "== $target: $seconds s"
      # shellcheck disable=SC2086
      if ! "$fuzzer" -max_total_time="$seconds" -max_len=$max_len -timeout=20 -print_final_stats=1 ${FUZZ_FLAGS:-} \
           -artifact_prefix="$build/crashes/$target-" "$build/corpus/$target" "$here/corpus/$target" \
           > "$build/$target.log" 2>&1; then
        echo "fuzz: $target FAILED, see $build/$target.log and $build/crashes/"
        status=1
      fi
      grep -E "^#[0-9]+.*DONE|stat::number_of_executed_units|stat::peak_rss_mb" "$build/$target.log" ;;
  esac
done
exit $status
