#!/bin/sh
# Tells whether this host runs 32-bit x86 programs: exit 0 when it does,
# 1 when it does not (the kernel answers ENOEXEC, "IA-32 emulation off").
# The probe needs no package: it writes a 256-byte static i386 program that
# prints "ia32" through the kernel's 32-bit system-call gate and exits 0.
# Where the kernel refuses it, the shell may read it as a script instead;
# the text it prints is what counts, never the status alone.
#   scripts/probe-ia32.sh [-v]    -v says which, on stdout
set -u
dir=$(mktemp -d "${TMPDIR:-/tmp}/zalprobe.XXXXXX") || exit 1
trap 'rm -rf "$dir"' EXIT
# as --32; ld -m elf_i386 -s -N -n: write(1, "ia32", 4); exit(0)
printf '%b' \
'\177\105\114\106\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000' \
'\210\000\000\000\000\000\000\000\064\000\040\000\001\000\050\000\003\000\002\000\001\000\000\000\124\000\000\000\124\200\004\010' \
'\124\200\004\010\043\000\000\000\043\000\000\000\005\000\000\000\001\000\000\000\270\004\000\000\000\273\001\000\000\000\271\163' \
'\200\004\010\272\004\000\000\000\315\200\270\001\000\000\000\061\333\315\200\151\141\063\062\000\056\163\150\163\164\162\164\141' \
'\142\000\056\164\145\170\164\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000' \
'\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\013\000\000\000\001\000\000\000\006\000\000\000\124\200\004\010' \
'\124\000\000\000\043\000\000\000\000\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\001\000\000\000\003\000\000\000' \
'\000\000\000\000\000\000\000\000\167\000\000\000\021\000\000\000\000\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000' \
  > "$dir/probe" && chmod +x "$dir/probe"
out=$("$dir/probe" 2>/dev/null)
if [ "$out" = ia32 ]; then
  [ "${1:-}" = -v ] && echo "this host runs 32-bit programs"
  exit 0
fi
[ "${1:-}" = -v ] && echo "this host runs no 32-bit programs"
exit 1
