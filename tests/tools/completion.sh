#!/bin/sh
# zalprint's bash completion: what it offers for a command line, the cursor
# at the end of the last word.  Run by bash on the completion file given.
#
#   tests/tools/completion.sh completions/zalprint.bash
set -u
script=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
scratch=$(mktemp -d "${TMPDIR:-/tmp}/zal-completion.XXXXXX") || exit 1
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
# A profile as hosts write it: CR LF, options beside the setup lines, other
# sections before and after.
printf '[Other]\r\nNot=1\r\n[PeripheralSetup]\r\nLabel1=FILE,a,,,\r\nLabel1Option1=10\r\nlabel1option4=0\r\n Zebra = USB ZTC 2844 - 1,b,,,\r\n[Next]\r\nAlso=2\r\n' > p.ini
mkdir dir1
: > a.job
: > x.epl

# index | words of the line, the last one being completed ("" for none) | the
# words offered, in any order
bash -c '
. "$1"
failed=0
while IFS="|" read -r index words expected; do
  eval "COMP_WORDS=($words)"
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _zalprint
  got=$(printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " ")
  want=$(printf "%s\n" $expected | sort | tr "\n" " ")
  if [ "$got" != "$want" ]; then
    echo "FAIL row$index [$words]: offered \"$got\", expected \"$want\""
    failed=$((failed + 1))
  fi
done <<ROWS
 0|zalprint ""|print watch preview info settings diag help --help --version
 1|zalprint pr|print preview
 2|zalprint print --o|--orientation --out
 3|zalprint print --profile p.ini --device ""|Label1 Zebra
 4|zalprint watch --profile p.ini --media 1230 --device l|
 5|zalprint watch --profile p.ini --media 1230 --device L|Label1
 6|zalprint print --profile missing.ini --device ""|
 7|zalprint diag --button ""|config network status
 8|zalprint print ""|a.job dir1 p.ini x.epl
 9|zalprint watch ""|dir1
10|zalprint preview x|x.epl
11|zalprint settings ""|--profile --device --device-desc --heat --speed --voffset --hoffset --log --log-flags
12|zalprint info ""|
13|zalprint print --media ""|1230 1220 1240 0
14|zalprint print job.ini --log ""|dir1
15|zalprint settings --speed 3|3 3.5
16|zalprint print --device-desc ""|
17|zalprint watch --r|
ROWS
echo "completion: $failed failed"
[ $failed -eq 0 ]
' completion "$script"
