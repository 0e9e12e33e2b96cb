#!/usr/bin/env bash
# Builds the program and starts it under Wine on the user's X display, or on
# an Xvfb of its own when DISPLAY is empty. The prefix persists in
# $XDG_DATA_HOME/lumigra/wine, so settings survive rebuilds.
# Usage: scripts/run.sh [image]
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${LUMIGRA_BUILD:-$root/build}/wine

bash "$root/scripts/setup.sh" || exit 1
source "$root/scripts/build-env.sh"
lumigra_configure_wine "${LUMIGRA_BUILD:-$root/build}" || exit 1
ninja -C "$build" LumigraBas || exit 1

export WINEPREFIX="${XDG_DATA_HOME:-$HOME/.local/share}/lumigra/wine"
source "$root/scripts/xvfb.sh"
if [ -z "${DISPLAY:-}" ]; then
  # (no window manager there: the prefix gets unmanaged windows, see prefix.sh)
  lumigra_start_xvfb || exit 1
  trap 'wineserver -k >/dev/null 2>&1; lumigra_stop_xvfb' EXIT
  echo "run.sh: no display; the program runs on Xvfb $DISPLAY." >&2
  echo "run.sh: look at it with: DISPLAY=$DISPLAY xwd -root | convert xwd:- shot.png  (or: x11vnc -display $DISPLAY)" >&2
fi

args=()
if [ $# -gt 0 ]; then
  # Hand the image over as a Windows path.
  img=$(readlink -f "$1")
  args=("$(WINEPREFIX=$WINEPREFIX winepath -w "$img" 2>/dev/null || echo "$img")")
fi
# (not exec: the trap above stops the Xvfb when the program ends)
bash "$root/scripts/wine.sh" "$build/app/LumigraBas.exe" "${args[@]}"
