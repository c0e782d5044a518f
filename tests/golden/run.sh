#!/bin/sh
# Golden labels: each case folder holds job files, a `cmd` file with the
# arguments of `zalprint print` (without --out), the exact bytes expected at
# the printer (expected.epl) and the expected result lines (expected.txt:
# zalprint's stdout, its exit status and the files left in the folder).
#
#   ZALPRINT="build/linux/bin/zalprint" tests/golden/run.sh [--update] [CASE...]
#   ZALPRINT="build/win32/bin/zalprint.exe" tests/golden/run.sh
#   ZAL_WINE=/usr/lib/wine/wine64 ZALPRINT="build/win64/bin/zalprint.exe" tests/golden/run.sh
#
# A Windows program (.exe) runs under the Wine loader ZAL_WINE (default
# `wine`, which is the 32-bit loader).
# --update rewrites the expected files; read the diff before committing it.
# A job may name the stand-in compression library with CompressDir=.plugin;
# a case holding a file .linux-only is skipped for a Windows program.
set -u
here=$(cd "$(dirname "$0")" && pwd)
update=0
if [ "${1:-}" = "--update" ]; then update=1; shift; fi
[ $# -gt 0 ] || set -- "$here"/cases/*/
: "${ZALPRINT:?set ZALPRINT to the zalprint command}"
# The runs happen in scratch folders: make a relative program path absolute.
set -- "$@"
absolute=""
for word in $ZALPRINT; do
  case "$word" in
    /*|-*) ;;
    */*) [ -e "$word" ] && word="$PWD/$word" ;;
  esac
  absolute="$absolute $word"
done
ZALPRINT=${absolute# }
program=${ZALPRINT##* }
case "$ZALPRINT" in
  *.exe) [ "$program" = "$ZALPRINT" ] && ZALPRINT="${ZAL_WINE:-wine} $ZALPRINT" ;;
esac

# The stand-in MaxiCode compression library goes into every scratch folder as
# .plugin/ (hidden: not among the files listed), so a job can name it with
# CompressDir=.plugin on both builds: taken from ZAL2443_PLUGIN_DIR, else from
# beside the program (bin/compress.dll) or from its lib folder (libcompress.so).
plugin_dirs=${ZAL2443_PLUGIN_DIR:-"$(dirname "$program") $(dirname "$program")/../lib"}

export ZAL2443_PROMPT=cancel WINEDEBUG=-all TZ=UTC
failed=0
count=0
skipped=0
for case in "$@"; do
  case=${case%/}
  name=$(basename "$case")
  # A case marked .linux-only needs a Linux stand-in (the registry store file).
  if [ -f "$case/.linux-only" ] && [ "${program%.exe}" != "$program" ]; then
    echo "skip $name (Linux only)"
    skipped=$((skipped + 1))
    continue
  fi
  work=$(mktemp -d "${TMPDIR:-/tmp}/golden.XXXXXX")
  cp -R "$case"/. "$work"/
  mkdir -p "$work/.plugin"
  for dir in $plugin_dirs; do
    for file in compress.dll libcompress.so; do
      [ -f "$dir/$file" ] && cp "$dir/$file" "$work/.plugin/"
    done
  done
  rm -f "$work"/expected.epl "$work"/expected.txt
  [ -f "$work/profile.ini" ] || cp "$here/profile.ini" "$work/profile.ini"
  export ZAL2443_HOME="$work/.home"
  export ZAL2443_COMPRESS_DIRS="$work/.plugin"  # the allowed compression folder
  (
    cd "$work" || exit 1
    # shellcheck disable=SC2046
    eval "$ZALPRINT print $(cat cmd) --out out.epl" > stdout.txt 2> stderr.txt
    echo "exit=$?" >> stdout.txt
    echo "files:" >> stdout.txt
    ls -1 | grep -v -x -e cmd -e out.epl -e stdout.txt -e stderr.txt -e profile.ini | sort >> stdout.txt
  )
  tr -d '\r' < "$work/stdout.txt" > "$work/result.txt"
  count=$((count + 1))
  if [ $update -eq 1 ]; then
    cp "$work/out.epl" "$case/expected.epl" 2>/dev/null || : > "$case/expected.epl"
    cp "$work/result.txt" "$case/expected.txt"
    echo "updated $name"
  elif ! cmp -s "$work/out.epl" "$case/expected.epl" || ! cmp -s "$work/result.txt" "$case/expected.txt"; then
    echo "FAIL $name"
    diff "$case/expected.txt" "$work/result.txt" | head -20
    cmp "$case/expected.epl" "$work/out.epl" && : || diff "$case/expected.epl" "$work/out.epl" | head -20
    sed 's/^/    stderr: /' "$work/stderr.txt" | head -5
    failed=$((failed + 1))
  fi
  rm -rf "$work"
done
echo "golden: $count case(s), $failed failed, $skipped skipped"
[ $failed -eq 0 ]
