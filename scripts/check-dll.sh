#!/bin/sh
# Checks a built ZAL2443.DLL without running it, from its PE headers alone:
# the machine, exactly the eleven exports a host resolves by name, imports
# from Windows system DLLs only (the binary is self-contained), and the
# version resource 23.03.01.
#   scripts/check-dll.sh build/win32/bin/ZAL2443.DLL [i386|x86-64]
# Uses the MinGW objdump of the DLL's target.
set -u
dll=${1:?usage: check-dll.sh DLL [i386|x86-64]}
arch=${2:-i386}
case "$arch" in
  i386)   objdump=i686-w64-mingw32-objdump;   format=pei-i386
          setdebugw='?ZALSetDebugW@@YAXU_LoggingConfigW@@@Z'
          devconfexw='?ZALDevConfExW@@YAHPAU_JobInfoW@@PBU_PeripheralInfoW@@@Z' ;;
  x86-64) objdump=x86_64-w64-mingw32-objdump; format=pei-x86-64
          setdebugw='?ZALSetDebugW@@YAXU_LoggingConfigW@@@Z'
          devconfexw='?ZALDevConfExW@@YAHPEAU_JobInfoW@@PEBU_PeripheralInfoW@@@Z' ;;
  *) echo "check-dll: unknown machine $arch" >&2; exit 2 ;;
esac
failures=0
check() {  # check OK WHAT
  if [ "$1" = 0 ]; then echo "ok   $2"; else echo "FAIL $2"; failures=$((failures + 1)); fi
}

[ -f "$dll" ] || { echo "FAIL $dll: no such file"; exit 1; }
headers=$("$objdump" -p "$dll") || { echo "FAIL $objdump -p $dll"; exit 1; }

echo "$headers" | grep -q "file format $format\$"
check $? "machine: $format"

# The names of the export table, sorted, against the eleven a host asks for.
exports=$(echo "$headers" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
          sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p' | LC_ALL=C sort)
expected=$(printf '%s\n' ZALGetLibraryType ZALGetLibraryInfoASizes ZALGetLibraryInfoA \
  ZALSetDebugA "$setdebugw" ZALStartup ZALShutdown ZALProcessJobA ZALDevConfExA \
  "$devconfexw" ZALDevDiagA | LC_ALL=C sort)
[ "$exports" = "$expected" ]
check $? "exports: exactly the eleven names"
if [ "$exports" != "$expected" ]; then
  echo "$expected" > "${TMPDIR:-/tmp}/zal-exports-expected.$$"
  echo "$exports" | diff "${TMPDIR:-/tmp}/zal-exports-expected.$$" - | sed 's/^/    /'
  rm -f "${TMPDIR:-/tmp}/zal-exports-expected.$$"
fi

# Imports: only DLLs every Windows has; no MinGW runtime beside the library.
imports=$(echo "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'a-z' 'A-Z' | LC_ALL=C sort -u)
foreign=$(echo "$imports" | grep -v -x -e KERNEL32.DLL -e USER32.DLL -e GDI32.DLL -e ADVAPI32.DLL \
          -e VERSION.DLL -e WINSPOOL.DRV -e SETUPAPI.DLL -e COMCTL32.DLL -e MSVCRT.DLL -e SHELL32.DLL)
[ -n "$imports" ] && [ -z "$foreign" ]
check $? "imports: system DLLs only ($(echo $imports))"

# The version resource: VS_FIXEDFILEINFO (signature FEEF04BD) holds 23.3.1.0,
# and the FileVersion string reads "23.03.01" (UTF-16).
rsrc=$("$objdump" -s -j .rsrc "$dll" | sed -n 's/^ [0-9a-f]* \(.\{35\}\).*/\1/p' | tr -d ' \n')
fixed=${rsrc#*bd04effe}
if [ "$fixed" = "$rsrc" ]; then
  check 1 "version resource present"
else
  # struct version (8 hex digits), then FileVersionMS and LS, little-endian.
  le16() { echo "$1" | sed 's/^\(..\)\(..\)$/\2\1/'; }
  word() { echo "$fixed" | cut -c"$1"-"$(($1 + 3))"; }
  ms_hi=$((0x$(le16 "$(word 13)"))); ms_lo=$((0x$(le16 "$(word 9)")))
  ls_hi=$((0x$(le16 "$(word 21)"))); ls_lo=$((0x$(le16 "$(word 17)")))
  [ "$ms_hi.$ms_lo.$ls_hi.$ls_lo" = 23.3.1.0 ]
  check $? "fixed file version $ms_hi.$ms_lo.$ls_hi.$ls_lo (23.3.1.0)"
  # "23.03.01" in UTF-16LE
  case "$rsrc" in
    *320033002e00300033002e0030003100*) check 0 "FileVersion string 23.03.01" ;;
    *) check 1 "FileVersion string 23.03.01" ;;
  esac
fi
echo "$failures failure(s) in $dll"
[ $failures -eq 0 ]
