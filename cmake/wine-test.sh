#!/usr/bin/env bash
# How CTest runs a Windows test program: under Wine, and once more when the
# first run ended without printing a word. A test program prints before its
# first test, so a silent end means Wine never got it going (once in CI, in
# no time and with no message); a program that truly cannot start fails twice.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for attempt in 1 2; do
  wine "$@" 2>&1 | tee "$log"
  status=${PIPESTATUS[0]}
  [ "$status" -eq 0 ] && exit 0
  [ -s "$log" ] && break
  echo "wine-test: $1 ended with status $status before printing anything (attempt $attempt)"
done
echo "wine-test: exit status $status"
exit "$status"
