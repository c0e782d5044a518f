#!/bin/sh
# zalprint watch, whole runs on Linux: jobs dropped into a folder while it
# runs (written at once, written slowly, renamed in), jobs there before it
# starts (one still being written), names that are no jobs, a second
# watcher, SIGTERM and SIGKILL in the middle of a batch and a restart, and
# what a killed run left behind.  Every label is counted in the device's
# FILE port output: a job's label carries its number twice (ShipTo1 and,
# written last, ShipTo3), so a label printed twice or printed from half a
# file shows.
#
#   ZALPRINT=build/linux/bin/zalprint tests/tools/watch.sh
set -u
here=$(cd "$(dirname "$0")" && pwd)
: "${ZALPRINT:?set ZALPRINT to the zalprint program}"
case "$ZALPRINT" in /*) ;; *) ZALPRINT="$PWD/$ZALPRINT" ;; esac
export ZAL2443_PROMPT=cancel TZ=UTC

scratch=$(mktemp -d "${TMPDIR:-/tmp}/zalprint-watch.XXXXXX") || exit 1
watcher=
stop_watcher() {  # the watcher this script started, if it still runs
  [ -n "$watcher" ] || return 0
  kill -TERM "$watcher" 2>/dev/null
  wait "$watcher" 2>/dev/null
  watcher=
}
trap 'stop_watcher; rm -rf "$scratch"' EXIT
trap 'exit 1' INT TERM
cd "$scratch" || exit 1
export ZAL2443_HOME="$scratch/home"
cp "$here/../golden/profile.ini" profile.ini
template=$here/../golden/cases/generic-domestic/job.ini

# A job whose label says SHIP n and, from the file's last line, END n.
job_text() {
  grep -v '^ShipTo[13]=' "$template" | sed "s/^\[Begin\]\r*$/[Begin]\nShipTo1=Ship $1/"
  echo "ShipTo3=End $1"
}

# A run's folders: jobs/ is watched, out/ takes the labels (DEV.out).
fresh() {
  rm -rf jobs out settings.ini w.err && mkdir jobs out
  printf '[Setup]\r\nFileLocation=%s/out\r\n' "$scratch" > settings.ini
}
start_watcher() {
  "$ZALPRINT" watch jobs --profile profile.ini --device DEV --settings settings.ini >> w.out 2>> w.err &
  watcher=$!
  for i in $(seq 100); do grep -q "^watch: watching" w.err 2>/dev/null && return 0; sleep 0.05; done
  echo "    the watcher did not start:"; sed 's/^/      /' w.err; return 1
}
results() { ls jobs | grep -c -E '\.(OK|ERR)$'; }
# The jobs taken and not yet finished.
claimed() { ls jobs/.zalwatch/claimed; }
wait_results() {  # wait_results N SECONDS
  n=0
  while [ $n -lt $(($2 * 10)) ]; do [ "$(results)" -ge "$1" ] && return 0; sleep 0.1; n=$((n + 1)); done
  echo "    $(results) result files after $2 s, not $1"; return 1
}
# How often the label of job n went out, whole.
labels_of() { grep -c "\"SHIP $1\"" out/DEV.out 2>/dev/null; }
whole_labels_of() { grep -c "\"END $1\"" out/DEV.out 2>/dev/null; }

# Every job 0001..N has one result file, and a label exactly once when it is
# .OK; an .ERR is allowed only for a job cut off by a kill (allowed=1), it
# says so and its label went out at most once.  No job file is left.
check_jobs() {  # check_jobs N ALLOWED_INTERRUPTED
  bad=0 interrupted=0
  i=1
  while [ $i -le "$1" ]; do
    n=$(printf '%04d' $i)
    if [ -f "jobs/job-$n.OK" ] && [ ! -f "jobs/job-$n.ERR" ]; then
      [ "$(labels_of $n)" -eq 1 ] && [ "$(whole_labels_of $n)" -eq 1 ] ||
        { echo "    job $n: $(labels_of $n) labels, $(whole_labels_of $n) whole"; bad=$((bad + 1)); }
    elif [ -f "jobs/job-$n.ERR" ] && grep -q "was stopped while this job was printing" "jobs/job-$n.ERR"; then
      interrupted=$((interrupted + 1))
      [ "$(labels_of $n)" -le 1 ] || { echo "    job $n: printed twice"; bad=$((bad + 1)); }
    else
      echo "    job $n: no single result file: $(ls jobs | grep "job-$n" | tr '\n' ' ')"; bad=$((bad + 1))
    fi
    i=$((i + 1))
  done
  [ $interrupted -le "$2" ] || { echo "    $interrupted jobs cut off by the kill, at most $2 allowed"; bad=$((bad + 1)); }
  left=$(ls jobs jobs/.zalwatch/claimed | grep -E '^job-[0-9]+\.ini$')
  [ -z "$left" ] || { echo "    job files left: $left"; bad=$((bad + 1)); }
  [ $bad -eq 0 ]
}

failed=0 total=0
run_case() {
  total=$((total + 1))
  if "$@"; then echo "ok   $1"; else echo "FAIL $1"; failed=$((failed + 1)); fi
  stop_watcher
}

# ---------------------------------------------------------------- cases

# 200 jobs dropped while it runs: written at once, written slowly in two
# parts, written under a temporary name and renamed in, moved in from
# another folder; five more there before it starts, one of them still being
# written then.  Names that are no jobs stay as they are.
two_hundred_jobs() {
  fresh
  for n in 0201 0202 0203 0204; do job_text $n > "jobs/job-$n.ini"; done
  # Half written when the watcher starts: its close brings it.
  ( job_text 0205 | head -5; sleep 2; job_text 0205 | tail -n +6 ) > jobs/job-0205.ini &
  slow_start=$!
  for name in .hidden.ini draft.tmp upload.part backup.ini~ old.OK old.ERR; do echo keep > "jobs/$name"; done
  mkdir staging
  sleep 0.3
  start_watcher || return 1
  i=1
  while [ $i -le 200 ]; do
    n=$(printf '%04d' $i)
    case $((i % 8)) in
      1) ( job_text $n | head -7; sleep 0.7; job_text $n | tail -n +8 ) > "jobs/job-$n.ini" & ;;
      2) job_text $n > "jobs/job-$n.ini.tmp" && mv "jobs/job-$n.ini.tmp" "jobs/job-$n.ini" ;;
      3) job_text $n > "staging/job-$n.ini" && mv "staging/job-$n.ini" "jobs/job-$n.ini" ;;
      *) job_text $n > "jobs/job-$n.ini" ;;
    esac
    i=$((i + 1))
  done
  wait $slow_start
  wait_results 205 120 || return 1
  check_jobs 205 0 || return 1
  [ "$(grep -c '^watch: job-[0-9]*\.ini result=0 ZALERR_SUCCESS file=job-[0-9]*\.OK$' w.err)" -eq 205 ] ||
    { echo "    not one log line per job:"; grep -v 'result=0' w.err | sed 's/^/      /'; return 1; }
  for name in .hidden.ini draft.tmp upload.part backup.ini~ old.OK old.ERR; do
    [ "$(cat "jobs/$name")" = keep ] || { echo "    $name was taken"; return 1; }
  done
  [ -z "$(claimed)" ] || { echo "    left in .zalwatch: $(claimed)"; return 1; }
  # SIGTERM ends it cleanly, its work folder gone.
  kill -TERM "$watcher"; wait "$watcher"; status=$?; watcher=
  [ $status -eq 0 ] || { echo "    exit $status after SIGTERM"; return 1; }
  grep -q "^watch: stopped (Terminated)" w.err || { echo "    no stop line"; return 1; }
  [ -z "$(claimed)" ] && [ "$(ls jobs/.zalwatch)" = "claimed
lock" ] || { echo "    left in .zalwatch: $(ls -R jobs/.zalwatch)"; return 1; }
}

# Drops jobs 0001..0200 paced, in the background.
drop_batch() {
  ( i=1
    while [ $i -le 200 ]; do
      n=$(printf '%04d' $i)
      job_text $n > "jobs/job-$n.ini.tmp" && mv "jobs/job-$n.ini.tmp" "jobs/job-$n.ini"
      [ $((i % 20)) -eq 0 ] && sleep 0.1
      i=$((i + 1))
    done ) &
  dropper=$!
}

# A stop in the middle of a batch, then a restart: none lost, none printed
# twice.  SIGTERM finishes the job in hand; SIGKILL may cut one off, which
# then becomes .ERR without a second label (the restart rule).
stopped_in_the_middle() {
  signal=$1 allowed=$2
  fresh
  start_watcher || return 1
  drop_batch
  wait_results 60 60 || return 1
  kill -"$signal" "$watcher"; wait "$watcher" 2>/dev/null; watcher=
  wait $dropper
  done_before=$(results)
  [ "$done_before" -lt 200 ] || { echo "    the batch was done before the $signal"; return 1; }
  start_watcher || return 1
  wait_results 200 120 || return 1
  check_jobs 200 "$allowed" || return 1
  [ -z "$(claimed)" ] || { echo "    left in .zalwatch: $(claimed)"; return 1; }
}
sigterm_and_restart() { stopped_in_the_middle TERM 0; }
sigkill_and_restart() { stopped_in_the_middle KILL 1; }

# What a killed run leaves, made by hand: a job file in .zalwatch was
# printing and becomes .ERR without a label; a result file there was
# printed and is moved out; an old work folder goes.
restart_after_kill() {
  fresh
  mkdir -p jobs/.zalwatch/work.OLD jobs/.zalwatch/claimed
  job_text 0001 > jobs/.zalwatch/claimed/job-0001.ini
  job_text 0002 > jobs/.zalwatch/claimed/job-0002.OK
  job_text 0003 > jobs/job-0003.ini
  start_watcher || return 1
  wait_results 3 20 || return 1
  [ -f jobs/job-0001.ERR ] && [ -f jobs/job-0002.OK ] && [ -f jobs/job-0003.OK ] ||
    { echo "    result files: $(ls jobs | tr '\n' ' ')"; return 1; }
  grep -q "^Description=zalprint watch was stopped while this job was printing" jobs/job-0001.ERR ||
    { echo "    job-0001.ERR says no reason"; return 1; }
  [ "$(labels_of 0001)$(labels_of 0002)$(labels_of 0003)" = 001 ] ||
    { echo "    labels: $(labels_of 0001) $(labels_of 0002) $(labels_of 0003), not 0 0 1"; return 1; }
  grep -q "^watch: job-0001.ini result=-1204 ZALERR_JOB_ABORTED file=job-0001.ERR " w.err ||
    { echo "    no line for job-0001:"; sed 's/^/      /' w.err; return 1; }
  [ ! -d jobs/.zalwatch/work.OLD ] || { echo "    the old work folder stays"; return 1; }
}

# A second watcher of the same folder refuses, and the first goes on.
second_watcher() {
  fresh
  start_watcher || return 1
  "$ZALPRINT" watch jobs --profile profile.ini --device DEV --settings settings.ini > second.out 2>&1
  status=$?
  [ $status -eq 1 ] || { echo "    the second watcher: exit $status"; return 1; }
  grep -q "is watched by another zalprint watch already" second.out || { cat second.out; return 1; }
  job_text 0001 > jobs/job-0001.ini
  # Jobs named as the watcher's own files are jobs like any other.
  job_text 0002 > jobs/lock
  job_text 0003 > jobs/work.1
  job_text 0004 > jobs/claimed
  wait_results 4 20 && check_jobs 1 0 || return 1
  [ -f jobs/lock.OK ] && [ -f jobs/work.OK ] && [ -f jobs/claimed.OK ] &&
    [ "$(labels_of 0002)$(labels_of 0003)$(labels_of 0004)" = 111 ] ||
    { echo "    result files: $(ls jobs | tr '\n' ' ')"; return 1; }
  "$ZALPRINT" watch jobs --profile profile.ini --device DEV --settings settings.ini > second.out 2>&1
  [ $? -eq 1 ] || { echo "    the lock was lost to a job named lock"; return 1; }
}

# A failing job is printed once and gives .ERR with the library's code.
failing_job() {
  fresh
  start_watcher || return 1
  printf '[Nothing]\r\nKey=1\r\n' > jobs/empty.ini
  wait_results 1 20 || return 1
  grep -q "^watch: empty.ini result=-1208 ZALERR_JOB_BADINPUT file=empty.ERR$" w.err ||
    { sed 's/^/    /' w.err; return 1; }
}

run_case two_hundred_jobs
run_case sigterm_and_restart
run_case sigkill_and_restart
run_case restart_after_kill
run_case second_watcher
run_case failing_job
echo "$((total - failed)) passed, $failed failed"
[ $failed -eq 0 ]
