#!/usr/bin/env bash
# Runs a command with an X display: the caller's when DISPLAY is set, otherwise
# a private Xvfb started here and stopped when the command ends.
set -euo pipefail

if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi

# The first display number whose lock file and socket are free.
n=90
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done

# -noreset: by default the server resets whenever its last client leaves, and
# a program connecting during the reset (the next test's window, or its window
# manager) is turned away.
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null || true' EXIT

for _ in $(seq 100); do
  xdpyinfo -display ":$n" >/dev/null 2>&1 && break
  kill -0 $xvfb 2>/dev/null || { echo "Xvfb :$n failed to start" >&2; exit 1; }
  sleep 0.1
done
xdpyinfo -display ":$n" >/dev/null 2>&1 || { echo "Xvfb :$n did not answer" >&2; exit 1; }

export DISPLAY=":$n"
"$@"
