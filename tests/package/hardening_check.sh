#!/usr/bin/env bash
# The hardening a program that runs a network server must carry, read from
# the binary itself: position independent, read-only relocations bound at
# start (relro, BIND_NOW), the stack protector and fortified functions.
#   tests/package/hardening_check.sh BINARY
set -u
BIN=${1:?usage: hardening_check.sh BINARY}
failures=0
has() {  # has DESCRIPTION PATTERN TEXT
  if grep -qE -- "$2" <<<"$3"; then echo "ok - $1"; else echo "not ok - $1"; failures=$((failures + 1)); fi
}
dynamic=$(readelf -dW "$BIN")
symbols=$(readelf --dyn-syms -W "$BIN" | awk '{ print $8 }')
has "position independent (PIE)" 'FLAGS_1.*PIE' "$dynamic"
has "read-only relocations (GNU_RELRO)" 'GNU_RELRO' "$(readelf -lW "$BIN")"
has "bound at start (BIND_NOW)" '\(BIND_NOW\)|FLAGS\).*BIND_NOW|FLAGS_1.*NOW' "$dynamic"
has "stack protector (__stack_chk_fail)" '^__stack_chk_fail' "$symbols"
has "fortified functions (FORTIFY_SOURCE)" '^__[a-z0-9_]+_chk(@|$)' "$(grep -v '^__stack_chk' <<<"$symbols")"
[ "$failures" -eq 0 ]
