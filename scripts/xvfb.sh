#!/usr/bin/env bash
# Sourced by the other scripts: lumigra_start_xvfb starts an Xvfb on a free
# display number and exports DISPLAY; lumigra_stop_xvfb stops it.
LUMIGRA_XVFB_PID=""
lumigra_start_xvfb() {
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1600x1200x24 -nolisten tcp -ac >/dev/null 2>&1 &
  LUMIGRA_XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    if ! kill -0 "$LUMIGRA_XVFB_PID" 2>/dev/null; then
      # lost the race for this number: try the next one
      n=$((n + 1))
      Xvfb ":$n" -screen 0 1600x1200x24 -nolisten tcp -ac >/dev/null 2>&1 &
      LUMIGRA_XVFB_PID=$!
    fi
    sleep 0.05
  done
  export DISPLAY=":$n"
}
lumigra_stop_xvfb() {
  if [ -n "$LUMIGRA_XVFB_PID" ]; then
    kill "$LUMIGRA_XVFB_PID" 2>/dev/null || true
    wait "$LUMIGRA_XVFB_PID" 2>/dev/null || true
    LUMIGRA_XVFB_PID=""
  fi
}
