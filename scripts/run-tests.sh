#!/bin/sh
# Runs every test: the Linux build natively, the Windows build under Wine.
#   scripts/run-tests.sh LINUX_BUILD [WIN32_BUILD [SANITIZER_BUILD]]
set -eu
linux=$1
win=${2:-}
asan=${3:-}
status=0

echo "== Linux tests ($linux)"
ctest --test-dir "$linux" --output-on-failure -j 2 || status=1

if [ -n "$win" ]; then
  export WINEDEBUG=-all
  # Create the Wine prefix once, before any test races to create it.
  wineboot -i >/dev/null 2>&1 || true
  echo "== Windows tests under Wine ($win)"
  ctest --test-dir "$win" --output-on-failure -j 2 || status=1
fi
if [ -n "$asan" ]; then
  echo "== Linux tests with AddressSanitizer and UBSan ($asan)"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --test-dir "$asan" --output-on-failure -j 2 || status=1
fi
exit $status
