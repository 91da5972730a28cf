#!/bin/sh
# Runs a check that must fail for the given reasons: it exits with 1 (a failed
# check, not one that could not run), prints a line matching each REASON and
# none matching NOT.
#   expectfailure.sh [--not NOT] --reason REASON... -- COMMAND [ARGUMENT...]
set -u
not=
reasons=
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  case $1 in
    --not) not=$2; shift 2 ;;
    --reason) reasons="$reasons$2
"; shift 2 ;;
    *) echo "expectfailure.sh: unknown option $1"; exit 2 ;;
  esac
done
shift
if [ -z "$reasons" ]; then
  echo "expectfailure.sh: no --reason given"
  exit 2
fi
output=$("$@" 2>&1)
status=$?
printf '%s\n' "$output"
if [ "$status" -ne 1 ]; then
  echo "expected the check to fail with status 1, it gave $status"
  exit 1
fi
failed=0
while IFS= read -r reason; do
  [ -n "$reason" ] || continue
  if ! printf '%s\n' "$output" | grep -Eq -- "$reason"; then
    echo "expected a failure matching: $reason"
    failed=1
  fi
done <<END
$reasons
END
if [ -n "$not" ] && printf '%s\n' "$output" | grep -Eq -- "$not"; then
  echo "expected no failure matching: $not"
  failed=1
fi
exit $failed
