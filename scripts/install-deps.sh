#!/bin/sh
# Installs the Debian packages the build needs, when they are missing.
#   scripts/install-deps.sh linux    library, zalprint, Linux tests
#   scripts/install-deps.sh all      also the Windows cross-build and Wine
set -eu

want=${1:-all}
pkgs="cmake g++ make ninja-build googletest libgtest-dev libbenchmark-dev pkg-config"
pkgs="$pkgs libpng-dev libzint-dev libzxing-dev zlib1g-dev xfonts-terminus"
if [ "$want" = all ]; then
  pkgs="$pkgs g++-mingw-w64-i686 wine wine32:i386"
fi

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
