#!/usr/bin/env bash
# Runs a command with an X display: the current one, or a private Xvfb server
# that lives exactly as long as the command (Wine wants one for windows),
# tall enough for the main window at 150 % display scale.
set -euo pipefail
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
exec xvfb-run --auto-servernum --server-args="-screen 0 1920x1200x24" "$@"
