#!/bin/sh
# Installs the Debian packages the build needs, when they are missing.
#   scripts/install-deps.sh linux    library, zalprint, Linux tests
#   scripts/install-deps.sh dll32    also the 32-bit Windows cross-compiler
#   scripts/install-deps.sh win32    also 32-bit Wine, to run the 32-bit build
#   scripts/install-deps.sh win64    also the 64-bit cross-compiler and wine64
#   scripts/install-deps.sh bench    also strace, for the benchmarks' system calls
#   scripts/install-deps.sh fuzz     also clang and its libFuzzer and sanitizer runtimes
#   scripts/install-deps.sh all      every leg
set -eu

want=${1:-all}
pkgs="cmake g++ make ninja-build googletest libgtest-dev libbenchmark-dev pkg-config"
pkgs="$pkgs libpng-dev libzint-dev libzxing-dev zlib1g-dev xfonts-terminus"
# The CUPS port: libcups's headers to build it, cupsd and its socket backend
# for its test against a real spooler.
pkgs="$pkgs libcups2-dev cups"
dll32="g++-mingw-w64-i686"
# The Windows legs run the dialogs under Wine, which needs an X server.
# 32-bit Wine reaches CUPS (the print queue test) through the i386 libcups.
win32="$dll32 wine wine32:i386 libcups2:i386 xvfb xauth"
win64="g++-mingw-w64-x86-64-posix wine64 xvfb xauth"
case "$want" in
  linux) ;;
  dll32) pkgs="$pkgs $dll32" ;;
  win32) pkgs="$pkgs $win32" ;;
  win64) pkgs="$pkgs $win64" ;;
  bench) pkgs="$pkgs strace" ;;
  fuzz) pkgs="$pkgs clang libclang-rt-14-dev" ;;
  all) pkgs="$pkgs $win32 $win64" ;;
  *) echo "install-deps: unknown leg $want (linux, dll32, win32, win64, bench, fuzz, all)" >&2; exit 2 ;;
esac
# The install test: dpkg-shlibdeps and file for the .deb CPack builds, groff
# to check the manual page.
pkgs="$pkgs dpkg-dev file groff-base"

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=""
for p in $pkgs; do
  installed "$p" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then SUDO=sudo; else
    echo "install-deps: missing packages:$missing (run as root to install them)" >&2
    exit 1
  fi
else
  SUDO=
fi

echo "install-deps: installing$missing"
case "$missing" in
  *:i386*)
    dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386 ;;
esac
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
