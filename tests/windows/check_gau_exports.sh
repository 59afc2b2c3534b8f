#!/bin/sh
# Usage: check_gau_exports.sh GAUGES_DIR MODULE...
# Checks each GAUGES_DIR/MODULE.gau: a 32-bit (i386) PE DLL whose export
# table holds exactly Linkage and ImportTable (by name, and no exports by
# ordinal only), importing no compiler runtime DLL, so that the one file is
# all a user copies into the simulator's gauges folder.
set -u
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
if [ $# -lt 2 ]; then
  echo "usage: $0 GAUGES_DIR MODULE..." >&2
  exit 2
fi
dir=$1
shift
expected="ImportTable
Linkage"
status=0
for name in "$@"; do
  module="$dir/$name.gau"
  if [ ! -f "$module" ]; then
    echo "$name: missing $module"
    status=1
    continue
  fi
  if ! dump=$("$objdump" -p "$module" 2>&1); then
    echo "$name: objdump failed: $dump"
    status=1
    continue
  fi
  fail=0
  printf '%s\n' "$dump" | grep -q 'file format pei-i386$' || { echo "$name: not a PE32 i386 image"; fail=1; }
  printf '%s\n' "$dump" | grep -q '^Magic[[:space:]]*010b' || { echo "$name: not PE32"; fail=1; }
  printf '%s\n' "$dump" | awk '/^Characteristics/ { c = 1; next } c && /^[^\t]/ { exit } c && $1 == "DLL" { found = 1 } END { exit !found }' ||
    { echo "$name: not a DLL"; fail=1; }

  names=$(printf '%s\n' "$dump" | awk '
    /^\[Ordinal\/Name Pointer\] Table/ { t = 1; next }
    t && /^[[:space:]]*$/ { exit }
    t { print $NF }' | sort)
  if [ "$names" != "$expected" ]; then
    echo "$name: exports by name:" $names "(want: ImportTable Linkage)"
    fail=1
  fi
  # Every exported address must have one of the two names.
  count=$(printf '%s\n' "$dump" | awk '/^Export Address Table --/ { t = 1; next }
    t && /^[[:space:]]*$/ { exit } t { n++ } END { print n + 0 }')
  if [ "$count" -ne 2 ]; then
    echo "$name: $count exported addresses (want 2)"
    fail=1
  fi
  runtime=$(printf '%s\n' "$dump" | awk '/DLL Name:/ { print $3 }' |
    grep -iE '^(libstdc\+\+|libgcc|libwinpthread)' || true)
  if [ -n "$runtime" ]; then
    echo "$name: imports the compiler runtime:" $runtime
    fail=1
  fi
  [ $fail -eq 0 ] && echo "$name.gau: PE32 i386 DLL, exports ImportTable Linkage"
  [ $fail -eq 0 ] || status=1
done
exit $status
