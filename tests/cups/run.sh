#!/bin/sh
# The CUPS port against a real cupsd: the test starts one on a loopback port
# with its own configuration folder, and a network label printer played by
# label_listener on another loopback port behind a raw queue
# (socket://127.0.0.1:PORT).  Every byte the listener receives must be the
# label's; an unknown, a stopped and a rejecting queue and an unreachable
# server give their result codes, leave JOB.ERR and send nothing.
#
#   ZALPRINT=build/linux/bin/zalprint LABEL_LISTENER=build/linux/bin/label_listener tests/cups/run.sh
#   ZAL_WINE=wine ZALPRINT=build/win32/bin/zalprint.exe tests/cups/run.sh
#
# Without LABEL_LISTENER the listener is built from LabelListener.cpp with
# the machine's own C++ compiler (the Windows legs cross-build the rest).
#
# A Windows zalprint runs under ZAL_WINE (default `wine`): "CUPS <queue>"
# names a printer of the spooler there, which Wine makes for each CUPS
# queue it sees (32-bit Wine through the i386 libcups).  Wine's spooler does
# not tell a stopped CUPS queue from a working one (the label waits in the
# queue) nor make printer connections for ipp:// addresses: those cases run
# on Linux only.
#
# Skipped (exit 77) only when cupsd or its socket backend is not installed
# (scripts/install-deps.sh linux installs them); a cupsd that is installed
# and does not start fails the test.
set -u
here=$(cd "$(dirname "$0")" && pwd)
: "${ZALPRINT:?set ZALPRINT to the zalprint program}"
case "$ZALPRINT" in /*) ;; *) ZALPRINT="$PWD/$ZALPRINT" ;; esac
windows=0
zp() { "$ZALPRINT" "$@"; }
case "$ZALPRINT" in
  *.exe) windows=1; zp() { ${ZAL_WINE:-wine} "$ZALPRINT" "$@"; } ;;
esac
export WINEDEBUG=-all
export ZAL2443_PROMPT=cancel TZ=UTC

cupsd=$(command -v cupsd || ls /usr/sbin/cupsd 2>/dev/null)
serverbin=/usr/lib/cups
[ -n "$cupsd" ] || { echo "skipped: cupsd is not installed (Debian package cups)"; exit 77; }
[ -x "$serverbin/backend/socket" ] ||
  { echo "skipped: the socket backend $serverbin/backend/socket is not installed (Debian package cups)"; exit 77; }
for tool in lpadmin cupsdisable cupsenable cupsreject cupsaccept; do
  command -v $tool >/dev/null 2>&1 || { echo "skipped: $tool is not installed (Debian package cups-client)"; exit 77; }
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/zal-cups.XXXXXX") || exit 1
cupsd_pid= listener_pid=
cleanup() {
  # Only the processes this script started (and the Wine server of its prefix).
  [ $windows -eq 1 ] && wineserver -k 2>/dev/null
  [ -n "$cupsd_pid" ] && kill "$cupsd_pid" 2>/dev/null && wait "$cupsd_pid" 2>/dev/null
  [ -n "$listener_pid" ] && kill "$listener_pid" 2>/dev/null && wait "$listener_pid" 2>/dev/null
  [ -n "${KEEP:-}" ] || rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
cd "$scratch" || exit 1
chmod 755 "$scratch"
export ZAL2443_HOME="$scratch/home"

# A Wine prefix of its own, so a Wine server of its own: Wine's spooler
# reads the CUPS queues into its printer list only in the first process of
# a server that loads it, and a test running beside this one (any program
# with ZAL2443.DLL) would keep the list without the test's queue.  The
# build's prefix is linked, its registry and top files copied.
if [ $windows -eq 1 ]; then
  from=${WINEPREFIX:-$HOME/.wine}
  [ -f "$from/system.reg" ] || { echo "FAIL no Wine prefix at $from (run the Windows leg's set-up first)"; exit 1; }
  mkdir "$scratch/wineprefix" &&
    cp -al "$from/drive_c" "$scratch/wineprefix/" && cp -a "$from/dosdevices" "$scratch/wineprefix/" &&
    find "$from" -maxdepth 1 -type f -exec cp -p {} "$scratch/wineprefix/" \; ||
    { echo "FAIL cannot copy the Wine prefix $from"; exit 1; }
  export WINEPREFIX="$scratch/wineprefix"
fi

# ---------------------------------------------------------------- the printer
if [ -z "${LABEL_LISTENER:-}" ]; then
  LABEL_LISTENER=$scratch/label_listener
  ${CXX_FOR_BUILD:-c++} -O1 -o "$LABEL_LISTENER" "$here/LabelListener.cpp" ||
    { echo "FAIL cannot build the label listener"; exit 1; }
fi
mkdir labels
"$LABEL_LISTENER" "$scratch/printer.port" "$scratch/labels" 600 &
listener_pid=$!
for i in $(seq 50); do [ -s printer.port ] && break; sleep 0.1; done
printer_port=$(cat printer.port 2>/dev/null) || { echo "FAIL the label listener did not start"; exit 1; }

# ---------------------------------------------------------------- cupsd
# cupsd runs its backends as User/Group and refuses root there.
user=lp group=lp
if [ "$(id -u)" -ne 0 ]; then user=$(id -un) group=$(id -gn); fi
conf=$scratch/cups
mkdir -p "$conf/spool/tmp" "$conf/cache" "$conf/state/certs" "$conf/log" "$conf/ppd"
chgrp -R "$group" "$conf" 2>/dev/null; chmod -R g+rwX "$conf"

# A port drawn at random; one that is taken makes cupsd end, and another is drawn.
free_port() { echo $(( 20000 + $(od -An -N2 -tu2 /dev/urandom) % 40000 )); }

start_cupsd() {
  cat > "$conf/cups-files.conf" <<CONF
User $user
Group $group
SystemGroup root
ServerRoot $conf
RequestRoot $conf/spool
TempDir $conf/spool/tmp
CacheDir $conf/cache
StateDir $conf/state
AccessLog $conf/log/access_log
ErrorLog $conf/log/error_log
PageLog $conf/log/page_log
ServerBin $serverbin
DataDir /usr/share/cups
FileDevice No
CONF
  cat > "$conf/cupsd.conf" <<CONF
Listen 127.0.0.1:$cups_port
LogLevel debug
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  AuthType None
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    AuthType None
    Order deny,allow
  </Limit>
</Policy>
CONF
  "$cupsd" -f -c "$conf/cupsd.conf" -s "$conf/cups-files.conf" > "$conf/log/stdout" 2>&1 &
  cupsd_pid=$!
  for i in $(seq 100); do
    kill -0 "$cupsd_pid" 2>/dev/null || break
    lpstat -h "127.0.0.1:$cups_port" -r 2>/dev/null | grep -q "is running" && return 0
    sleep 0.1
  done
  kill "$cupsd_pid" 2>/dev/null; wait "$cupsd_pid" 2>/dev/null; cupsd_pid=
  return 1
}

started=0
for attempt in 1 2 3; do
  cups_port=$(free_port)
  if start_cupsd; then started=1; break; fi
done
if [ $started -eq 0 ]; then
  echo "FAIL cupsd did not start:"
  cat "$conf/log/stdout" "$conf/log/error_log" 2>/dev/null | tail -20 | sed 's/^/    /'
  exit 1
fi
export CUPS_SERVER="127.0.0.1:$cups_port"
lpadmin -p zq -E -v "socket://127.0.0.1:$printer_port" -m raw > lpadmin.txt 2>&1 ||
  { echo "FAIL lpadmin could not add the raw queue:"; sed 's/^/    /' lpadmin.txt; exit 1; }

echo "cupsd on 127.0.0.1:$cups_port, the printer on 127.0.0.1:$printer_port"

# ---------------------------------------------------------------- the jobs
cp "$here/../golden/cases/generic-domestic/job.ini" job.ini
cat > profile.ini <<PROFILE
[PeripheralSetup]
Q=CUPS zq,Label - Eltron Standard ( EPL II; 203 dpi ),,,
IPP=ipp://127.0.0.1:$cups_port/printers/zq,Label - Eltron Standard ( EPL II; 203 dpi ),,,
NOSUCH=CUPS nosuch,Label - Eltron Standard ( EPL II; 203 dpi ),,,
BAD=CUPS zq/../admin,Label - Eltron Standard ( EPL II; 203 dpi ),,,
PROFILE
# The label the job gives, as the printer must receive it.
zp print job.ini --profile profile.ini --device Q --out expected.epl > /dev/null 2>&1 &&
  [ -s expected.epl ] || { echo "FAIL the job gives no label"; exit 1; }

failed=0
run_case() {
  if "$@"; then echo "ok   $1"; else echo "FAIL $1"; failed=$((failed + 1)); fi
}
labels() { ls labels | grep -c '^label-[0-9]*$'; }
# Waits until the printer has received n labels in all.
wait_labels() {
  for i in $(seq 150); do [ "$(labels)" -ge "$1" ] && return 0; sleep 0.1; done
  echo "    the printer received $(labels) labels, not $1"; return 1
}
# Prints one job on the device with result files; the job file is a fresh
# copy named NAME.ini.  Its result line goes to NAME.out, stderr to NAME.stderr
# (not NAME.err: under Wine the result file NAME.ERR would replace it).
print_job() {  # print_job NAME DEVICE
  cp job.ini "$1.ini"
  zp print "$1.ini" --profile profile.ini --device "$2" --result-files --log "log-$1" > "$1.out" 2> "$1.stderr"
  tr -d '\r' < "$1.out" > "$1.tmp" && mv "$1.tmp" "$1.out"
}
expect_result() {  # expect_result NAME LINE
  [ "$(cat "$1.out")" = "$2" ] && return 0
  echo "    $1: \"$(cat "$1.out")\", not \"$2\""; sed 's/^/      /' "$1.stderr"; return 1
}
expect_log() {  # expect_log NAME TEXT: a line of the job's error log
  grep -qF -e "$2" "log-$1/zal2443.err" && return 0
  echo "    $1: no error line \"$2\":"; sed 's/^/      /' "log-$1/zal2443.err" 2>/dev/null; return 1
}
# The queue holds no job that did not print.
queue_empty() { [ -z "$(lpstat -o zq 2>/dev/null)" ] || { echo "    jobs left: $(lpstat -o zq)"; return 1; }; }

# Each label reaches the printer as the job's bytes, named after the job file.
queue_by_name() {
  before=$(labels)
  print_job ship-0001 Q || { sed 's/^/    /' ship-0001.out ship-0001.stderr; return 1; }
  expect_result ship-0001 "result=0 ZALERR_SUCCESS file=ship-0001.OK" || return 1
  wait_labels $((before + 1)) || return 1
  cmp -s expected.epl "labels/label-$((before + 1))" || { echo "    the printer received other bytes"; return 1; }
  # CUPS hands the job's name to the backend as its title.
  grep -q -F 'argv[3]="ship-0001.ini"' "$conf/log/error_log" || { echo "    no CUPS job named ship-0001.ini"; return 1; }
  grep -q "took the label as job" log-ship-0001/zal2443.log ||
    { echo "    no line on the job CUPS made"; return 1; }
}

queue_by_address() {
  before=$(labels)
  print_job ship-0002 IPP || return 1
  expect_result ship-0002 "result=0 ZALERR_SUCCESS file=ship-0002.OK" || return 1
  wait_labels $((before + 1)) || return 1
  cmp -s expected.epl "labels/label-$((before + 1))" || { echo "    the printer received other bytes"; return 1; }
}

# The refusals: the job file becomes JOB.ERR, nothing reaches the printer.
unknown_queue() {
  before=$(labels)
  print_job ship-0003 NOSUCH
  expect_result ship-0003 "result=-301 ZALERR_PRINTER_OPENFAIL file=ship-0003.ERR" || return 1
  if [ $windows -eq 1 ]; then
    expect_log ship-0003 "on port \"CUPS nosuch\"; cannot open the printer \"nosuch\" of the spooler: " || return 1
  else
    expect_log ship-0003 "on port \"CUPS nosuch\"; CUPS queue \"nosuch\" at 127.0.0.1:$cups_port: The printer or class does not exist." || return 1
  fi
  [ -f ship-0003.ERR ] && [ ! -f ship-0003.ini ] || { echo "    no ship-0003.ERR"; return 1; }
  sleep 0.5; [ "$(labels)" -eq "$before" ] || { echo "    the printer received a label"; return 1; }
}

bad_queue_name() {
  print_job ship-0004 BAD
  expect_result ship-0004 "result=-301 ZALERR_PRINTER_OPENFAIL file=ship-0004.ERR" || return 1
  expect_log ship-0004 "\"zq/../admin\" is not a queue name" || return 1
}

stopped_queue() {
  before=$(labels)
  cupsdisable -r "Out of labels" zq || return 1
  print_job ship-0005 Q
  cupsenable zq
  expect_result ship-0005 "result=-304 ZALERR_PRINTER_BADWRITE file=ship-0005.ERR" || return 1
  expect_log ship-0005 "CUPS queue \"zq\" at 127.0.0.1:$cups_port is stopped: Out of labels" || return 1
  queue_empty || return 1
  sleep 0.5; [ "$(labels)" -eq "$before" ] || { echo "    the printer received a label"; return 1; }
  # Started again, the queue prints.
  print_job ship-0006 Q
  expect_result ship-0006 "result=0 ZALERR_SUCCESS file=ship-0006.OK" || return 1
  wait_labels $((before + 1))
}

rejecting_queue() {
  before=$(labels)
  cupsreject zq || return 1
  print_job ship-0007 Q
  cupsaccept zq
  expect_result ship-0007 "result=-304 ZALERR_PRINTER_BADWRITE file=ship-0007.ERR" || return 1
  if [ $windows -eq 1 ]; then
    expect_log ship-0007 "on port \"CUPS zq\"; the printer \"zq\" of the spooler " || return 1
  else
    expect_log ship-0007 "CUPS queue \"zq\" at 127.0.0.1:$cups_port did not take the label: " || return 1
  fi
  queue_empty || return 1
}

# Retry answered by policy: each try is logged, the last answer stands.
retried_then_cancelled() {
  cupsdisable zq || return 1
  ZAL2443_PROMPT=retry:2 print_job ship-0008 Q
  cupsenable zq
  expect_result ship-0008 "result=-304 ZALERR_PRINTER_BADWRITE file=ship-0008.ERR" || return 1
  n=$(grep -c "is stopped: " log-ship-0008/zal2443.err)
  [ "$n" -eq 3 ] || { echo "    $n tries logged, not 3"; return 1; }
}

# zalprint info names the queue and its printer.
info_lists_queue() {
  zp info 2>&1 | tr -d '\r' > info.txt
  if [ $windows -eq 1 ]; then
    grep -q "^  zq  *CUPS:zq  *ready" info.txt && return 0
  else
    grep -q "^Print queues of CUPS at 127.0.0.1:$cups_port (1)" info.txt &&
      grep -q "^  zq  *socket://127.0.0.1:$printer_port  *idle" info.txt && return 0
  fi
  sed 's/^/    /' info.txt; return 1
}

# Last: the server goes away.
server_unreachable() {
  kill "$cupsd_pid" && wait "$cupsd_pid" 2>/dev/null; cupsd_pid=
  print_job ship-0009 Q
  expect_result ship-0009 "result=-301 ZALERR_PRINTER_OPENFAIL file=ship-0009.ERR" || return 1
  expect_log ship-0009 "on port \"CUPS zq\"; CUPS queue \"zq\" at 127.0.0.1:$cups_port: cannot reach the server: " || return 1
}

linux_only() {
  if [ $windows -eq 1 ]; then echo "skip $1 (Linux only)"; skipped=$((skipped + 1)); else run_case "$@"; fi
}
skipped=0
run_case queue_by_name
linux_only queue_by_address
run_case unknown_queue
run_case bad_queue_name
linux_only stopped_queue
run_case rejecting_queue
linux_only retried_then_cancelled
run_case info_lists_queue
linux_only server_unreachable
# Every byte the printer received was a whole label.
for f in labels/label-*; do
  cmp -s expected.epl "$f" || { echo "FAIL $f is not the label"; failed=$((failed + 1)); }
done

total=$((9 - skipped))
echo "$((total - failed)) passed, $failed failed, $skipped skipped"
[ $failed -eq 0 ]
