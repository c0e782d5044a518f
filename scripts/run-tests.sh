#!/bin/sh
# Runs the tests of the given builds: Linux natively, the Windows build under
# its Wine loader, the sanitizer build natively, and the check of the 32-bit
# DLL that needs no Wine.
#   scripts/run-tests.sh [--linux DIR] [--dll32 DLL] [--windows DIR --leg 32|64] [--asan DIR]
# A Windows build dir holds wine-env.sh (ZAL_WINE, its own WINEPREFIX).  The
# run fails when a Windows leg was asked for and could not run.
set -u
linux= dll32= win= leg= asan=
while [ $# -gt 0 ]; do
  case "$1" in
    --linux) linux=$2; shift 2 ;;
    --dll32) dll32=$2; shift 2 ;;
    --windows) win=$2; shift 2 ;;
    --leg) leg=$2; shift 2 ;;
    --asan) asan=$2; shift 2 ;;
    *) echo "run-tests: unknown argument $1" >&2; exit 2 ;;
  esac
done
here=$(cd "$(dirname "$0")" && pwd)
status=0
summary=""
say() { summary="$summary$1
"; }

if [ -n "$linux" ]; then
  echo "== Linux tests ($linux)"
  if ctest --test-dir "$linux" --output-on-failure --no-tests=error -j 2; then say "Linux tests: passed"
  else say "Linux tests: FAILED"; status=1; fi
fi

if [ -n "$dll32" ]; then
  echo "== 32-bit DLL, checked without running it ($dll32)"
  if "$here/check-dll.sh" "$dll32" i386; then say "32-bit DLL check: passed"
  else say "32-bit DLL check: FAILED"; status=1; fi
fi

if [ -n "$win" ]; then
  case "$leg" in
    32) what="32-bit build under Wine" ;;
    64) what="64-bit build under wine64"
        "$here/probe-ia32.sh" || what="$what (this host runs no 32-bit programs)" ;;
    *) echo "run-tests: --windows needs --leg 32 or 64" >&2; exit 2 ;;
  esac
  echo "== Windows tests: $what ($win)"
  if [ ! -f "$win/wine-env.sh" ]; then
    say "Windows tests: NONE RAN ($win/wine-env.sh missing: is $win a Windows build?)"; status=1
  else
    . "$win/wine-env.sh"
    # Create the build's Wine prefix once, before any test races to create it.
    if ! "$ZAL_WINE" wineboot -i >/dev/null 2>&1 || ! "$ZAL_WINE" cmd /c exit 0 >/dev/null 2>&1; then
      echo "$ZAL_WINE could not start a Windows program on this host."
      say "Windows tests: NONE RAN ($ZAL_WINE could not start; $what)"; status=1
    elif ctest --test-dir "$win" --output-on-failure --no-tests=error -j 2; then
      say "Windows tests: $what: passed"
    else
      say "Windows tests: $what: FAILED"; status=1
    fi
  fi
fi

if [ -n "$asan" ]; then
  echo "== Linux tests with AddressSanitizer and UBSan ($asan)"
  if ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
     ctest --test-dir "$asan" --output-on-failure --no-tests=error -j 2; then say "Sanitizer tests: passed"
  else say "Sanitizer tests: FAILED"; status=1; fi
fi

echo
echo "== Summary"
printf '%s' "$summary"
exit $status
