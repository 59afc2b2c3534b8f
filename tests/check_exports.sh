#!/bin/sh
# Usage: check_exports.sh MODULE SYMBOL...
# Fails when the module's dynamic symbol table defines anything but the given
# symbols, or lacks one of them.
set -u
module=$1
shift
if [ ! -f "$module" ]; then
  echo "no such module: $module" >&2
  exit 2
fi
defined=$(nm -D --defined-only "$module" | awk 'NF >= 3 { print $3 }' | sort -u)
status=0
for sym in $defined; do
  allowed=0
  for want in "$@"; do
    [ "$sym" = "$want" ] && allowed=1
  done
  if [ $allowed -eq 0 ]; then
    echo "unexpected export: $sym"
    status=1
  fi
done
for want in "$@"; do
  if ! printf '%s\n' "$defined" | grep -qx "$want"; then
    echo "missing export: $want"
    status=1
  fi
done
[ $status -eq 0 ] && echo "exports: $*"
exit $status
