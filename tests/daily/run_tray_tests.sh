#!/bin/sh
# Runs the notification-area tests on a private X display: first with no tray
# host, then with trayer holding the tray.  The screen is larger than the
# main window, so the tray at its bottom right stays uncovered.  $1 is the
# test program.
set -u
program=$1
for tool in xvfb-run trayer xdotool; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "$tool is not installed; skipping"
    exit 77
  fi
done
exec xvfb-run -a -s "-screen 0 1600x1000x24 -nolisten tcp" sh -c '
  "$0" --gtest_filter=*WithoutANotificationArea* || exit 1
  trayer --edge bottom --align right --widthtype pixel --width 120 --height 32 --transparent false &
  host=$!
  "$0" --gtest_filter=*InTheNotificationArea*
  status=$?
  kill $host 2>/dev/null
  exit $status' "$program"
