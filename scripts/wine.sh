#!/usr/bin/env bash
# Runs a built program (a test, a tool, the program itself) under Wine.
# Usage: scripts/wine.sh PROGRAM[.exe] [ARGS...]
# The exit status is the program's.
#
# Prefix and display:
#  - By default the project's prefix: $WINEPREFIX when set, else the user's
#    persistent prefix ($XDG_DATA_HOME/lumigra/wine); on $DISPLAY, or on an
#    Xvfb of its own when DISPLAY is empty.
#  - With LUMIGRA_SLOTS=DIR (ctest sets it for every program it runs under
#    Wine; scripts/bench.sh too) the program takes a free slot of DIR for as
#    long as it runs (scripts/slots.sh): a prefix and an Xvfb display that no
#    other program uses meanwhile, so programs run side by side without
#    sharing a pointer, a keyboard focus, a key grab or a wineserver.
#    scripts/test.sh starts each slot's Xvfb and wineserver before ctest; a
#    slot nobody prepared gets an Xvfb for this one run.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prog=${1:?usage: wine.sh PROGRAM [ARGS]}
shift

export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"

# wineg++ writes NAME.exe (a launcher script) and NAME.exe.so (the program).
if [ -f "$prog.so" ]; then target="$prog.so"
elif [ -f "$prog.exe.so" ]; then target="$prog.exe.so"
else target="$prog"
fi
if [ ! -f "$target" ]; then
  echo "wine.sh: no such program: $prog" >&2
  exit 127
fi

source "$here/xvfb.sh"
LUMIGRA_SLOT_FD=
if [ -n "${LUMIGRA_SLOTS:-}" ]; then
  source "$here/slots.sh"
  lumigra_slots_template "$LUMIGRA_SLOTS" || { echo "wine.sh: cannot prepare the template prefix in $LUMIGRA_SLOTS" >&2; exit 1; }
  lumigra_slot_claim "$LUMIGRA_SLOTS"
  lumigra_slot_prefix "$LUMIGRA_SLOTS" "$LUMIGRA_SLOT" {LUMIGRA_SLOT_FD}>&- ||
    { echo "wine.sh: cannot prepare slot $LUMIGRA_SLOT" >&2; exit 1; }
  export WINEPREFIX="$LUMIGRA_SLOTS/$LUMIGRA_SLOT/prefix"
  export LUMIGRA_NO_WM=1
  DISPLAY=$(lumigra_slot_display "$LUMIGRA_SLOTS" "$LUMIGRA_SLOT")
  export DISPLAY
else
  export WINEPREFIX="${WINEPREFIX:-${XDG_DATA_HOME:-$HOME/.local/share}/lumigra/wine}"
fi

# Commands below that may leave processes behind (Xvfb, wineserver, Wine's
# services) must not inherit the slot's lock.
no_lock() {
  if [ -n "$LUMIGRA_SLOT_FD" ]; then "$@" {LUMIGRA_SLOT_FD}>&-; else "$@"; fi
}

own_display=0
if [ -z "${DISPLAY:-}" ]; then
  no_lock lumigra_start_xvfb || exit 1
  own_display=1
  trap 'lumigra_stop_xvfb' EXIT
fi

# (a slot's prefix holds the template's settings already)
if [ -z "$LUMIGRA_SLOT_FD" ]; then
  no_lock bash "$here/prefix.sh" "$WINEPREFIX" || { echo "wine.sh: cannot prepare the Wine prefix $WINEPREFIX" >&2; exit 1; }
fi

# Is a wineserver already serving this prefix (another run, or test.sh's
# persistent one)? Then leave it be.
# Its socket is in /tmp/.wine-UID/server-DEV-INODE, or (Debian's Wine) in
# the folder of /tmp that the prefix's file "wineserver" names.
server_running() {
  local id base
  id="server-$(printf '%x' "$(stat -c %d "$WINEPREFIX")")-$(printf '%x' "$(stat -c %i "$WINEPREFIX")")"
  base="/tmp/.wine-$(id -u)"
  [ -f "$WINEPREFIX/wineserver" ] && base="${TMPDIR:-/tmp}/$(cat "$WINEPREFIX/wineserver")"
  [ -S "$base/$id/socket" ]
}
shared_server=0
server_running && shared_server=1

# Start Wine's services (they start with the prefix's first program) with
# their output detached, so they never hold the caller's pipes open after the
# program has ended.
if [ $shared_server = 0 ]; then
  no_lock wine cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
fi

no_lock wine "$target" "$@"
rc=$?
if [ $own_display = 1 ] && [ $shared_server = 0 ]; then
  no_lock wineserver -k >/dev/null 2>&1 || true
fi
exit $rc
