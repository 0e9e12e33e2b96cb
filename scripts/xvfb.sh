#!/usr/bin/env bash
# Sourced by the other scripts: lumigra_start_xvfb starts an Xvfb on a free
# display number and exports DISPLAY (and LUMIGRA_NO_WM=1: no window manager
# runs there, see scripts/prefix.sh); lumigra_stop_xvfb stops it.
LUMIGRA_XVFB_PID=""
lumigra_start_xvfb() {
  # Xvfb picks the number itself and writes it once it accepts clients, so
  # scripts starting displays at the same time never race for one.
  local numfile n="" i
  numfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp -ac 3>"$numfile" >/dev/null 2>&1 </dev/null &
  LUMIGRA_XVFB_PID=$!
  for i in $(seq 1 200); do
    n=$(tr -dc '0-9' <"$numfile")
    [ -n "$n" ] && break
    kill -0 "$LUMIGRA_XVFB_PID" 2>/dev/null || break
    sleep 0.05
  done
  rm -f "$numfile"
  if [ -z "$n" ]; then
    echo "xvfb.sh: Xvfb did not start" >&2
    lumigra_stop_xvfb
    return 1
  fi
  export DISPLAY=":$n"
  export LUMIGRA_NO_WM=1
}
lumigra_stop_xvfb() {
  if [ -n "$LUMIGRA_XVFB_PID" ]; then
    kill "$LUMIGRA_XVFB_PID" 2>/dev/null || true
    wait "$LUMIGRA_XVFB_PID" 2>/dev/null || true
    LUMIGRA_XVFB_PID=""
  fi
}
