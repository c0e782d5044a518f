#!/bin/sh
# zalprint as a host, whole runs: what a run leaves behind, what it reports
# when the labels, the result files or the logs cannot be written, and two
# runs that name the same --out file.
#
#   ZALPRINT=build/linux/bin/zalprint tests/tools/run.sh
#   ZAL_WINE=wine ZALPRINT=build/win32/bin/zalprint.exe tests/tools/run.sh
#
# A Windows program runs under ZAL_WINE (default `wine`) in the Wine prefix
# of the environment; the cases that need Linux signals, file modes or
# setpriv run on Linux only.
set -u
here=$(cd "$(dirname "$0")" && pwd)
: "${ZALPRINT:?set ZALPRINT to the zalprint program}"
case "$ZALPRINT" in /*) ;; *) ZALPRINT="$PWD/$ZALPRINT" ;; esac
windows=0
zp() { "$ZALPRINT" "$@"; }
case "$ZALPRINT" in
  *.exe) windows=1; zp() { ${ZAL_WINE:-wine} "$ZALPRINT" "$@"; } ;;
esac
export ZAL2443_PROMPT=cancel WINEDEBUG=-all TZ=UTC

scratch=$(mktemp -d "${TMPDIR:-/tmp}/zalprint-tools.XXXXXX") || exit 1
trap 'chmod -R u+w "$scratch" 2>/dev/null; rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
cp "$here/../golden/profile.ini" profile.ini
cp "$here/../golden/cases/generic-domestic/job.ini" job.ini
export ZAL2443_HOME="$scratch/home"

# The temporary folder the program makes its work folder in.
if [ $windows -eq 1 ]; then
  wintemp=$(${ZAL_WINE:-wine} cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')
  temp=$(${ZAL_WINE:-wine} winepath -u "$wintemp" 2>/dev/null)
  [ -d "$temp" ] || { echo "FAIL cannot find Wine's temporary folder ($wintemp)"; exit 1; }
else
  temp=$scratch/tmp
  mkdir "$temp"
  export TMPDIR="$temp"
fi

# Work folders in the temporary folder.  Under Wine other runs may share it:
# a folder of another run goes away within seconds, one left behind stays.
work_folders() { ls -A "$temp" | grep '^zalprint\.' | sort; }
left_behind() {
  before=$1
  for wait in 1 2 3 4 5 6 7 8 9 10; do
    new=$(work_folders | comm -13 "$before" -)
    [ -z "$new" ] && return 1
    sleep 0.5
  done
  echo "    left behind: $new"
  return 0
}

# Root runs a case without the capabilities that let it write anywhere.
unprivileged() {
  if [ "$(id -u)" -ne 0 ]; then "$@"; return; fi
  setpriv --inh-caps=-all --bounding-set=-all "$@"
}
can_drop() { [ "$(id -u)" -ne 0 ] || setpriv --inh-caps=-all --bounding-set=-all true 2>/dev/null; }

jobs_of() { n=0; while [ $n -lt "$1" ]; do echo job.ini; n=$((n + 1)); done; }
expect() {  # expect WHAT FILE PATTERN
  grep -q -e "$3" "$2" && return 0
  echo "    $1: no line \"$3\" in $2:"; sed 's/^/      /' "$2"
  return 1
}

failed=0
run_case() {
  if "$@"; then echo "ok   $1"; else echo "FAIL $1"; failed=$((failed + 1)); fi
}
skip() { echo "skip $1 ($2)"; }

# ---------------------------------------------------------------- cases

# Runs that print, fail a job or cannot rename a result file remove their
# work folder (Windows: the result file is closed before the folder goes).
leaves_nothing() {
  work_folders > before.txt
  zp print job.ini job.ini --profile profile.ini --device DEV --out a.epl > o.txt 2>&1 || return 1
  zp print job.ini --profile profile.ini --device DEV --out /dev/full > o.txt 2>&1
  mkdir -p kept/R1.OK && cp job.ini kept/R1.JOB
  zp print kept/R1.JOB --profile profile.ini --device DEV --out a.epl --result-files > o.txt 2>&1
  ! left_behind before.txt
}

# A lost capture is an error: on Linux the labels stream into --out and the
# library's write fails for each job; on Windows they are appended at the end.
out_device_full() {
  zp print job.ini job.ini --profile profile.ini --device DEV --out /dev/full > o.txt 2> e.txt
  status=$?
  [ $status -eq 1 ] || { echo "    exit $status, not 1"; return 1; }
  if [ $windows -eq 1 ]; then
    expect "copied" e.txt "^zalprint: the labels could not be written to /dev/full: "
  else
    [ "$(grep -c '^result=-304 ZALERR_PRINTER_BADWRITE file=-' o.txt)" -eq 2 ] || { cat o.txt; return 1; }
    # The same run with the labels appended at the end, as on Windows.
    ZALPRINT_COPY_OUT=1 zp print job.ini job.ini --profile profile.ini --device DEV --out /dev/full > o.txt 2> e.txt
    status=$?
    [ $status -eq 1 ] || { echo "    copied: exit $status, not 1"; return 1; }
    expect "copied" e.txt "^zalprint: the labels could not be written to /dev/full: No space left on device"
  fi
}

# The second of two runs naming the same --out fails at once with a clear
# message while the first prints; the file holds the first run's labels.
# The first run is held up by its standard output, a pipe read only later.
out_locked() {
  # Enough result lines to fill the pipe; a Windows command line holds 32767
  # characters.
  many=6000
  [ $windows -eq 0 ] || many=3000
  zp print job.ini --profile profile.ini --device DEV --out one.epl > /dev/null 2>&1 || return 1
  rm -f shared.epl go pipe && mkfifo pipe
  ( while [ ! -e go ]; do sleep 0.1; done; cat ) < pipe > a.txt &
  reader=$!
  # shellcheck disable=SC2046
  zp print $(jobs_of $many) --profile profile.ini --device DEV --out shared.epl > pipe 2> a.err &
  first=$!
  n=0
  while [ ! -e shared.epl ] && [ $n -lt 600 ]; do sleep 0.1; n=$((n + 1)); done
  sleep 2
  zp print job.ini --profile profile.ini --device DEV --out shared.epl > b.txt 2> b.err
  second=$?
  kill -0 $first 2>/dev/null
  running=$?
  touch go
  wait $first
  status=$?
  wait $reader
  ok=0
  [ $running -eq 0 ] || { echo "    the first run ended before the second began"; ok=1; }
  [ $second -eq 1 ] || { echo "    second run: exit $second, not 1"; ok=1; }
  expect "second run" b.err "^zalprint: cannot write the labels to shared.epl: in use by another zalprint run" || ok=1
  [ ! -s b.txt ] || { echo "    the second run printed:"; cat b.txt; ok=1; }
  [ $status -eq 0 ] || { echo "    first run: exit $status"; cat a.err; ok=1; }
  [ "$(grep -c '^result=0 ' a.txt)" -eq $many ] || { echo "    first run: $(grep -c '^result=0 ' a.txt) of $many printed"; ok=1; }
  size=$(wc -c < one.epl)
  [ "$(wc -c < shared.epl)" -eq $((size * many)) ] || { echo "    shared.epl: $(wc -c < shared.epl) bytes, not $many x $size"; ok=1; }
  return $ok
}

# A job file that cannot become its result file is named as what it still
# is, with the reason; the run fails.
result_file_in_the_way() {
  mkdir -p way/JOB1.OK && cp job.ini way/JOB1.JOB
  zp print way/JOB1.JOB --profile profile.ini --device DEV --out a.epl --result-files > o.txt 2> e.txt
  status=$?
  [ $status -eq 1 ] || { echo "    exit $status, not 1"; return 1; }
  expect "result line" o.txt "^result=0 ZALERR_SUCCESS file=way.JOB1\.JOB" &&
    expect "reason" e.txt "^zalprint: way.JOB1\.JOB was not renamed to way.JOB1\.OK: a folder of that name is in the way" &&
    [ -f way/JOB1.JOB ]
}

result_file_read_only_folder() {
  mkdir -p ro && cp job.ini ro/JOB2.JOB && chmod 555 ro
  unprivileged "$ZALPRINT" print ro/JOB2.JOB --profile profile.ini --device DEV --out a.epl --result-files > o.txt 2> e.txt
  status=$?
  chmod 755 ro
  [ $status -eq 1 ] || { echo "    exit $status, not 1"; return 1; }
  expect "result line" o.txt "^result=0 ZALERR_SUCCESS file=ro/JOB2\.JOB" &&
    expect "reason" e.txt "^zalprint: ro/JOB2\.JOB was not renamed to ro/JOB2\.OK: Permission denied" &&
    [ -f ro/JOB2.JOB ]
}

# A log folder the library cannot write in: one warning, the jobs print.
log_unwritable() {
  mkdir -p logs/zal2443.log
  zp print job.ini job.ini --profile profile.ini --device DEV --out a.epl --log logs > o.txt 2> e.txt
  status=$?
  [ $status -eq 0 ] || { echo "    exit $status"; cat e.txt; return 1; }
  [ "$(grep -c 'warning' e.txt)" -eq 1 ] || { echo "    not one warning:"; cat e.txt; return 1; }
  expect "warning" e.txt "^zalprint: warning: cannot write .*zal2443\.log (.*): the jobs are printed without logs"
}

log_read_only_folder() {
  mkdir -p rologs && chmod 555 rologs
  unprivileged "$ZALPRINT" print job.ini --profile profile.ini --device DEV --out a.epl --log rologs > o.txt 2> e.txt
  status=$?
  chmod 755 rologs
  [ $status -eq 0 ] || { echo "    exit $status"; cat e.txt; return 1; }
  [ "$(grep -c 'warning' e.txt)" -eq 1 ] &&
    expect "warning" e.txt "^zalprint: warning: cannot write .*rologs/zal2443\.log (Permission denied)"
}

# A run stopped by a signal removes its work folder and dies of the signal;
# paths never pass through a shell, whatever the temporary folder is named.
killed() {
  signal=$1 number=$2
  rm -f pipe && mkfifo pipe
  sleep 60 < pipe &
  holder=$!
  # shellcheck disable=SC2046
  env --default-signal=INT "$ZALPRINT" print $(jobs_of 6000) --profile profile.ini --device DEV --out k.epl \
    > pipe 2> k.err &
  run=$!
  n=0
  while [ -z "$(ls -A "$TMPDIR")" ] && [ $n -lt 100 ]; do sleep 0.1; n=$((n + 1)); done
  sleep 1
  kill -s "$signal" $run
  wait $run
  status=$?
  kill $holder 2>/dev/null; wait $holder 2>/dev/null
  ok=0
  [ $status -eq $((128 + number)) ] || { echo "    SIG$signal: exit $status"; cat k.err; ok=1; }
  [ -z "$(ls -A "$TMPDIR")" ] || { echo "    SIG$signal left: $(ls -A "$TMPDIR")"; ok=1; }
  return $ok
}

interrupted() { killed TERM 15 && killed INT 2 && killed HUP 1; }

hostile_temp_folder() {
  hostile="$scratch/tmp';touch PWNED;'\"x"
  mkdir "$hostile"
  (
    TMPDIR=$hostile
    export TMPDIR
    zp print job.ini --profile profile.ini --device DEV --out h.epl > o.txt 2> e.txt || { cat e.txt; exit 1; }
    [ -z "$(ls -A "$TMPDIR")" ] || { echo "    left: $(ls -A "$TMPDIR")"; exit 1; }
    killed TERM 15
  )
  status=$?
  found=$(find "$scratch" / -maxdepth 1 -name PWNED 2>/dev/null; find "$scratch" -name PWNED)
  [ -z "$found" ] || { echo "    a shell ran: $found"; return 1; }
  return $status
}

# ---------------------------------------------------------------- run

run_case leaves_nothing
run_case out_device_full
run_case out_locked
run_case result_file_in_the_way
run_case log_unwritable
if [ $windows -eq 1 ]; then
  skip result_file_read_only_folder "Linux file modes"
  skip log_read_only_folder "Linux file modes"
  skip interrupted "Linux signals"
  skip hostile_temp_folder "Linux signals"
else
  if can_drop; then
    run_case result_file_read_only_folder
    run_case log_read_only_folder
  else
    skip result_file_read_only_folder "running as root without setpriv"
    skip log_read_only_folder "running as root without setpriv"
  fi
  if env --default-signal=INT true 2>/dev/null; then
    run_case interrupted
    run_case hostile_temp_folder
  else
    skip interrupted "env --default-signal is missing"
    skip hostile_temp_folder "env --default-signal is missing"
  fi
fi
echo "zalprint host: $failed failed"
[ $failed -eq 0 ]
