#!/bin/sh
# Runs a command on a virtual X server of its own: private-xvfb.sh SCREEN COMMAND [ARG...]
# (SCREEN such as 1024x768x24). The server picks a free display number itself (-displayfd), so
# runs beside other X servers never clash over one, and it ends with the command.
# Exits 77 (skipped) where Xvfb is not installed.
command -v Xvfb >/dev/null 2>&1 || exit 77
screen=$1
shift
dir=$(mktemp -d) || exit 1
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -terminate 3>"$dir/display" >"$dir/log" 2>&1 &
server=$!
tries=0
until [ -s "$dir/display" ]; do
  tries=$((tries + 1))
  if [ "$tries" -gt 200 ] || ! kill -0 "$server" 2>/dev/null; then
    echo "the virtual X server did not start:" >&2
    cat "$dir/log" >&2
    kill "$server" 2>/dev/null
    rm -rf "$dir"
    exit 1
  fi
  sleep 0.05
done
DISPLAY=":$(cat "$dir/display")" QT_QPA_PLATFORM=xcb "$@"
status=$?
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
rm -rf "$dir"
exit "$status"
