#!/usr/bin/env bash
# Runs a built program (a test, a tool, the program itself) under the project's
# Wine prefix: $WINEPREFIX when set, else the user's persistent prefix
# ($XDG_DATA_HOME/lumigra/wine). Starts an Xvfb of its own when DISPLAY is
# empty. The exit status is the program's.
# Usage: scripts/wine.sh PROGRAM[.exe] [ARGS...]
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prog=${1:?usage: wine.sh PROGRAM [ARGS]}
shift

export WINEPREFIX="${WINEPREFIX:-${XDG_DATA_HOME:-$HOME/.local/share}/lumigra/wine}"
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
own_display=0
if [ -z "${DISPLAY:-}" ]; then
  lumigra_start_xvfb
  own_display=1
  trap 'lumigra_stop_xvfb' EXIT
fi

bash "$here/prefix.sh" "$WINEPREFIX" || { echo "wine.sh: cannot prepare the Wine prefix $WINEPREFIX" >&2; exit 1; }

# Is a wineserver already serving this prefix (another run)? Then leave it be.
server_running() {
  local d
  d="/tmp/.wine-$(id -u)/server-$(printf '%x' "$(stat -c %d "$WINEPREFIX")")-$(printf '%x' "$(stat -c %i "$WINEPREFIX")")"
  [ -S "$d/socket" ]
}
shared_server=0
server_running && shared_server=1

# Start Wine's services (when not running yet) with their output detached, so
# they never hold the caller's pipes open after the program has ended.
wine cmd.exe /c exit >/dev/null 2>&1 </dev/null || true

wine "$target" "$@"
rc=$?
if [ $own_display = 1 ] && [ $shared_server = 0 ]; then
  wineserver -k >/dev/null 2>&1 || true
fi
exit $rc
