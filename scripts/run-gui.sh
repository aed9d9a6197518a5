#!/usr/bin/env bash
# Starts the Windows program under Wine on this machine's X display,
# building it first when needed. ./run --gui calls it after the set-up.
# usage: scripts/run-gui.sh [FORM.plx]
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  cat >&2 <<'TEXT'
run-gui: there is no X display to show the window on (DISPLAY is not set,
or its server does not answer). Plaxet runs under Wine, which needs one:
  - run it from a terminal inside a graphical (X) session, or
  - give it a virtual display:  xvfb-run -a ./run --gui [FORM.plx]
    (nothing is shown on screen then; useful to see that it starts).
Without any display, ./run creates the documents of the example forms.
TEXT
  exit 1
fi
if [ $# -gt 1 ]; then
  echo "usage: scripts/run-gui.sh [FORM.plx]" >&2
  exit 2
fi

form=()
if [ $# -eq 1 ]; then
  if [ ! -f "$1" ]; then
    echo "run-gui: $1 does not exist; Plaxet starts with an empty form." >&2
  else
    # Wine sees the Linux root as drive Z:.
    path=$(realpath "$1")
    form=("Z:${path//\//\\}")
  fi
fi

# The build this machine can start: the 32-bit one, or the 64-bit one where
# 32-bit programs cannot run.
source scripts/windows-target.sh
plaxet_windows_target || { echo "run-gui: $PLAXET_WINDOWS_REASON" >&2; exit 1; }
echo "run-gui: $PLAXET_WINDOWS_REASON" >&2
[ -f "build/$PLAXET_WINDOWS_PRESET/CMakeCache.txt" ] || cmake --preset "$PLAXET_WINDOWS_PRESET" >/dev/null
cmake --build --preset "$PLAXET_WINDOWS_PRESET" --target plaxet plaxet_help
exec scripts/wine-run.sh "$PLAXET_WINDOWS_BIN/plaxet.exe" "${form[@]}"
