#!/bin/sh
# The installed library as a host meets it: `cmake --install` of a build into
# a scratch prefix, then, with none of the build's folders in sight and no
# environment pointing at the plugins,
#   - the files where GNUInstallDirs puts them, the library with its soname;
#   - a C host compiled with `pkg-config --cflags --libs zal2443` prints a job
#     (FILE port) whose bytes are the golden label's;
#   - the same host built by a CMake project through find_package(zal2443);
#   - the installed zalprint prints through the installed plugins: a UPS job
#     without CompressDir gets its MaxiCode compressed by lib/zal2443/
#     libcompress.so, a USB printer (a fake usblp tree) is written through
#     lib/zal2443/libZalUsbEx.so;
#   - zalprint --version names the release and the library file's version;
#   - the manual page documents every command and option of --help;
#   - the .deb built by CPack holds the same files (where dpkg-deb is).
#
#   tests/install/run.sh BUILD_DIR VERSION VERSION_TEXT [CC [CFLAGS]]
#
# CFLAGS are the build's sanitizer flags, for hosts linked against a
# sanitized library; the .deb is skipped for such a build.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source=$(cd "$here/../.." && pwd)
[ $# -ge 3 ] || { echo "usage: $0 BUILD_DIR VERSION VERSION_TEXT [CC [CFLAGS]]" >&2; exit 2; }
build=$(cd "$1" && pwd)
version=$2 version_text=$3
cc=${4:-cc}
cflags=${5:-}
cmake=${CMAKE:-cmake}
cpack=${CPACK:-cpack}
golden=$source/tests/golden

scratch=$(mktemp -d "${TMPDIR:-/tmp}/zal-install.XXXXXX") || exit 1
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
if ! "$cmake" --install "$build" --prefix "$prefix" > "$scratch/install.log" 2>&1; then
  echo "FAIL cmake --install"; cat "$scratch/install.log"; exit 1
fi
# The library folder GNUInstallDirs chose (lib or lib/<multiarch>).
pc=$(find "$prefix" -name zal2443.pc)
[ -n "$pc" ] || { echo "FAIL no zal2443.pc installed"; exit 1; }
libdir=$(dirname "$(dirname "$pc")")

unset ZAL2443_PLUGIN_PATH ZAL2443_COMPRESS_DIRS LD_LIBRARY_PATH ZAL2443_REGISTRY ZAL2443_WIN_INI
export ZAL2443_HOME="$scratch/home" ZAL2443_PROMPT=cancel TZ=UTC
export PKG_CONFIG_PATH="$libdir/pkgconfig"
cd "$scratch" || exit 1

failed=0
run_case() {
  if "$@"; then echo "ok   $1"; else echo "FAIL $1"; failed=$((failed + 1)); fi
}
skip() { echo "skip $1 ($2)"; }
same() {  # same WHAT EXPECTED ACTUAL
  cmp -s "$2" "$3" && return 0
  echo "    $1: $3 differs from $2"
  cmp "$2" "$3" 2>&1 | sed 's/^/    /'
  return 1
}
# A job folder: the job, the golden profile and a settings file whose FILE
# port writes DEV.out into out/.
job_folder() {  # job_folder DIR JOB_FILE
  mkdir -p "$1/out" && cp "$2" "$1/job.ini" && cp "$golden/profile.ini" "$1/profile.ini" &&
    printf '[Setup]\r\nFileLocation=%s/out/\r\n' "$1" > "$1/settings.ini"
}
# The host prints the golden generic label; the library it ran is the
# installed one.
host_prints() {  # host_prints HOST DIR
  job_folder "$2" "$golden/cases/generic-domestic/job.ini" || return 1
  "$1" "$2/job.ini" "$2/profile.ini" "$2/settings.ini" DEV > "$2/host.txt" 2>&1 ||
    { echo "    host failed:"; sed 's/^/      /' "$2/host.txt"; return 1; }
  grep -q "^library $version_text," "$2/host.txt" || { echo "    host:"; cat "$2/host.txt"; return 1; }
  if command -v ldd > /dev/null 2>&1; then
    loaded=$(ldd "$1" | sed -n 's/.*libzal2443[^ ]* => \([^ ]*\).*/\1/p')
    case "$loaded" in "$libdir"/*) ;; *) echo "    host loaded libzal2443 from \"$loaded\""; return 1 ;; esac
  fi
  same "label" "$golden/cases/generic-domestic/expected.epl" "$2/out/DEV.out"
}

# ---------------------------------------------------------------- cases

layout() {
  ok=0
  for file in "$libdir/libzal2443.so.$version" "$libdir/zal2443/libcompress.so" "$libdir/zal2443/libZalUsbEx.so" \
              "$prefix/include/zal2443/zal2443.h" "$prefix/bin/zalprint" \
              "$libdir/cmake/zal2443/zal2443Config.cmake" "$libdir/cmake/zal2443/zal2443ConfigVersion.cmake" \
              "$libdir/cmake/zal2443/zal2443Targets.cmake" "$prefix/share/man/man1/zalprint.1.gz" \
              "$prefix/share/bash-completion/completions/zalprint" "$prefix/share/doc/zal2443/examples/profile.ini" \
              "$prefix/share/doc/zal2443/examples/zalprint-watch.service"; do
    [ -f "$file" ] || { echo "    missing ${file#"$prefix"/}"; ok=1; }
  done
  # The soname names the interface; the development link points at it.
  soname=$(readlink "$libdir/libzal2443.so")
  [ -f "$libdir/$soname" ] || { echo "    libzal2443.so -> \"$soname\", no such file"; ok=1; }
  if command -v readelf > /dev/null 2>&1; then
    readelf -d "$libdir/libzal2443.so.$version" | grep -q "Library soname: \[$soname\]" ||
      { echo "    the library's soname is not $soname"; ok=1; }
  fi
  # Nothing of the build or the tests.
  extra=$(find "$prefix" -name '*_tests' -o -name 'libZalTestLib*' -o -name '*.a' -o -name 'eplpreview')
  [ -z "$extra" ] || { echo "    installed: $extra"; ok=1; }
  [ -z "$(ls "$libdir" | grep -i compress)" ] || { echo "    a compression library in $libdir itself"; ok=1; }
  return $ok
}

pkg_config_host() {
  flags=$(pkg-config --cflags --libs zal2443) || return 1
  [ "$(pkg-config --modversion zal2443)" = "$version" ] || { echo "    version $(pkg-config --modversion zal2443)"; return 1; }
  [ "$(pkg-config --variable=plugindir zal2443)" = "$libdir/zal2443" ] ||
    { echo "    plugindir $(pkg-config --variable=plugindir zal2443)"; return 1; }
  # shellcheck disable=SC2086
  "$cc" -std=c99 -Wall -Wextra -pedantic -Werror $cflags "$here/host.c" -o pc-host $flags \
    -Wl,-rpath,"$(pkg-config --variable=libdir zal2443)" || return 1
  host_prints ./pc-host "$scratch/pc"
}

find_package_host() {
  "$cmake" -S "$here/cmake-host" -B cm-build -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_C_COMPILER="$cc" \
    -DCMAKE_C_FLAGS="$cflags" -DZAL2443_WANT="${version%%.*}" > cm.log 2>&1 &&
    "$cmake" --build cm-build >> cm.log 2>&1 || { sed 's/^/    /' cm.log | tail -20; return 1; }
  host_prints cm-build/host "$scratch/cm" || return 1
  # A host asking for the next release is told this one does not do.
  if "$cmake" -S "$here/cmake-host" -B cm-next -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_C_COMPILER="$cc" \
       -DZAL2443_WANT=$((${version%%.*} + 1)) > cm-next.log 2>&1; then
    echo "    find_package(zal2443 $((${version%%.*} + 1))) took $version"; return 1
  fi
}

# The UPS label's MaxiCode compressed by the installed compression library,
# found without CompressDir: the bytes of the golden case that names it.
compress_plugin() {
  mkdir -p ups && grep -v '^CompressDir=' "$golden/cases/ups-compress-fields/job.ini" > ups/job.ini &&
    cp "$golden/profile.ini" ups/ || return 1
  (cd ups && "$prefix/bin/zalprint" print job.ini --profile profile.ini --device DEV --out out.epl > out.txt 2>&1)
  grep -q '^result=0 ' ups/out.txt || { sed 's/^/    /' ups/out.txt; return 1; }
  same "UPS label" "$golden/cases/ups-compress-fields/expected.epl" ups/out.epl
}

# A USB printer as the kernel shows it, under a scratch root: the label goes
# through the installed USB support library into the printer's node.
usb_plugin() {
  root=$scratch/usb
  mkdir -p "$root/dev/usb" "$root/sys/devices/usb1/1-1/1-1:1.0" "$root/sys/class/usbmisc/lp0" || return 1
  echo 0a5f > "$root/sys/devices/usb1/1-1/idVendor"
  echo 00d3 > "$root/sys/devices/usb1/1-1/idProduct"
  printf 'MFG:Zebra;CMD:EPL2;MDL:ZTC 2844;SN:12345;' > "$root/sys/devices/usb1/1-1/1-1:1.0/ieee1284_id"
  ln -s ../../../devices/usb1/1-1/1-1:1.0 "$root/sys/class/usbmisc/lp0/device"
  : > "$root/dev/usb/lp0"
  mkdir -p usbjob && cp "$golden/cases/generic-domestic/job.ini" usbjob/job.ini &&
    printf '[PeripheralSetup]\r\nDEV=USB ZTC 2844 - 12345,Label - Eltron Standard ( EPL II; 203 dpi ),,,\r\n' \
      > usbjob/profile.ini
  (cd usbjob && ZAL2443_DEV_ROOT="$root/dev" ZAL2443_SYSFS_ROOT="$root/sys" \
     "$prefix/bin/zalprint" print job.ini --profile profile.ini --device DEV > out.txt 2>&1)
  grep -q '^result=0 ' usbjob/out.txt || { sed 's/^/    /' usbjob/out.txt; return 1; }
  # The golden profile holds the options the library takes by default.
  same "USB label" "$golden/cases/generic-domestic/expected.epl" "$root/dev/usb/lp0"
}

# The library's version is the library file's, not a constant of zalprint: a
# library whose version section says otherwise is shown so.
version() {
  line=$("$prefix/bin/zalprint" --version)
  [ "$line" = "zalprint $version_text (libzal2443 $version.0)" ] || { echo "    \"$line\""; return 1; }
  command -v ldd > /dev/null 2>&1 || return 0
  other=$(echo "$version.0" | tr 0-8 1-9)
  mkdir other && soname=$(readlink "$libdir/libzal2443.so") || return 1
  # Same length, same offsets: only the section's text changes.
  sed "s/FileVersion=$version.0/FileVersion=$other/" "$libdir/libzal2443.so.$version" > "other/$soname"
  line=$(LD_LIBRARY_PATH="$scratch/other" "$prefix/bin/zalprint" --version)
  [ "$line" = "zalprint $version_text (libzal2443 $other)" ] || { echo "    edited library: \"$line\""; return 1; }
}

# Every command and option of the usage text is in the manual page.
manual_page() {
  "$prefix/bin/zalprint" --help > help.txt || return 1
  gzip -dc "$prefix/share/man/man1/zalprint.1.gz" | sed 's/\\-/-/g' > man.txt || return 1
  grep -q "^\.TH ZALPRINT 1 .*$version_text" man.txt || { echo "    no .TH line with $version_text"; return 1; }
  ok=0
  commands=$(sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z]*\) .*/\1/p' help.txt)
  [ -n "$commands" ] || { echo "    no commands in --help"; return 1; }
  for word in $commands; do
    grep -q "^\.[BTI][A-Z]* *\"*$word\b" man.txt || grep -q "^\.B zalprint $word\b" man.txt ||
      { echo "    command $word is not in the manual page"; ok=1; }
  done
  for option in $(grep -o -e '--[a-z][a-z-]*' help.txt | sort -u); do
    grep -q -e "$option\([^a-z-]\|$\)" man.txt || { echo "    option $option is not in the manual page"; ok=1; }
  done
  if command -v groff > /dev/null 2>&1; then
    warnings=$(gzip -dc "$prefix/share/man/man1/zalprint.1.gz" | groff -man -ww -z 2>&1)
    [ -z "$warnings" ] || { echo "    groff: $warnings"; ok=1; }
  fi
  return $ok
}

# The Debian package: its name, version and dependencies, and the same files
# under /usr, with a pkg-config file that names /usr.
deb_package() {
  "$cpack" -G DEB -B "$scratch/deb" --config "$build/CPackConfig.cmake" > deb.log 2>&1 ||
    { tail -20 deb.log | sed 's/^/    /'; return 1; }
  deb=$(ls "$scratch"/deb/*.deb 2>/dev/null)
  [ -n "$deb" ] || { echo "    no .deb made"; return 1; }
  ok=0
  [ "$(dpkg-deb -f "$deb" Package)" = zal2443 ] || { echo "    Package: $(dpkg-deb -f "$deb" Package)"; ok=1; }
  [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || { echo "    Version: $(dpkg-deb -f "$deb" Version)"; ok=1; }
  dpkg-deb -f "$deb" Depends | grep -q 'libc6' || { echo "    Depends: $(dpkg-deb -f "$deb" Depends)"; ok=1; }
  dpkg-deb -c "$deb" | awk '{print $6}' > deb-files.txt
  debdir=./usr/${libdir#"$prefix"/}
  for file in "$debdir/libzal2443.so.$version" "$debdir/libzal2443.so" "$debdir/zal2443/libcompress.so" \
              "$debdir/zal2443/libZalUsbEx.so" "$debdir/pkgconfig/zal2443.pc" "$debdir/cmake/zal2443/zal2443Config.cmake" \
              ./usr/include/zal2443/zal2443.h ./usr/bin/zalprint ./usr/share/man/man1/zalprint.1.gz \
              ./usr/share/bash-completion/completions/zalprint; do
    grep -q -x -e "$file" -e "$file -> .*" deb-files.txt || { echo "    not in the package: $file"; ok=1; }
  done
  dpkg-deb -x "$deb" unpacked || return 1
  grep -q -x 'prefix=/usr' "unpacked/$debdir/pkgconfig/zal2443.pc" ||
    { echo "    the package's zal2443.pc:"; sed 's/^/      /' "unpacked/$debdir/pkgconfig/zal2443.pc"; ok=1; }
  return $ok
}

# ---------------------------------------------------------------- run

run_case layout
if command -v pkg-config > /dev/null 2>&1; then run_case pkg_config_host; else skip pkg_config_host "no pkg-config"; fi
run_case find_package_host
run_case compress_plugin
run_case usb_plugin
run_case version
run_case manual_page
if [ -n "$cflags" ]; then
  skip deb_package "a sanitizer build"
elif command -v dpkg-deb > /dev/null 2>&1 && command -v "$cpack" > /dev/null 2>&1; then
  run_case deb_package
else
  skip deb_package "no dpkg-deb or cpack"
fi
echo "install: $failed failed"
[ $failed -eq 0 ]
