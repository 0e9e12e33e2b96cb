# Sourced by wine.sh, test.sh and bench.sh: the slots in which Wine programs
# of a test run side by side without meeting. A slot is the folder DIR/K
# (K = 0, 1, ...) of a slots folder DIR, holding
#   prefix/    a Wine prefix of its own (and so a wineserver of its own): a
#              copy of the template prefix DIR/template
#   display    the X display of the slot's Xvfb, when test.sh started one
#   xvfb.pid   that Xvfb's process
# and its lock DIR/K.lock, held by the one program that uses the slot. Two
# programs in different slots share no display, pointer, keyboard focus, key
# grab, wineserver or profile.

here_slots=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# The Windows program files of a prefix, which nothing writes: the copies of a
# prefix share them (hard links) and copy everything else.
lumigra_prefix_clone() {
  local src=$1 dst=$2
  mkdir -p "$(dirname "$dst")"
  cp -al "$src" "$dst" || return 1
  (cd "$src" && find . -type f ! \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.sys' -o -iname '*.drv' \
    -o -iname '*.ocx' -o -iname '*.cpl' -o -iname '*.acm' -o -iname '*.ax' -o -iname '*.ds' -o -iname '*.tlb' \
    -o -iname '*.nls' -o -iname '*.com' -o -iname '*.msstyles' \) -print0 |
    xargs -0 -r cp -a --remove-destination --parents -t "$dst")
}

# Makes the template prefix DIR/template, or brings it up to date, once for
# all programs that ask at the same time. Slots always show on an Xvfb: no
# window manager (scripts/prefix.sh).
lumigra_slots_template() {
  local dir=$1
  mkdir -p "$dir"
  (
    flock 9
    LUMIGRA_NO_WM=1 bash "$here_slots/prefix.sh" "$dir/template"
  ) 9>"$dir/template.lock"
}

# Stops a slot's wineserver (when one runs) and Xvfb (when test.sh started one).
lumigra_slot_stop() {
  local slot=$1 pid
  if [ -d "$slot/prefix" ]; then
    WINEPREFIX="$slot/prefix" wineserver -k >/dev/null 2>&1 </dev/null || true
  fi
  if [ -f "$slot/xvfb.pid" ]; then
    pid=$(cat "$slot/xvfb.pid")
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -f "$slot/xvfb.pid" "$slot/display"
  fi
}

# Gives slot DIR/K a prefix that holds the template's settings: kept when it
# does, else a fresh copy (FRESH=1: always a fresh copy).
lumigra_slot_prefix() {
  local dir=$1 k=$2 fresh=${3:-0}
  local slot="$dir/$k"
  if [ "$fresh" = 0 ] && [ -f "$slot/prefix/.lumigra-settings" ] &&
     cmp -s "$slot/prefix/.lumigra-settings" "$dir/template/.lumigra-settings"; then
    return 0
  fi
  if [ -d "$slot/prefix" ]; then
    WINEPREFIX="$slot/prefix" wineserver -k >/dev/null 2>&1 </dev/null || true
    rm -rf "$slot/prefix"
  fi
  # (shared lock: the template is not remade while it is copied)
  (
    flock -s 9
    lumigra_prefix_clone "$dir/template" "$slot/prefix"
  ) 9>"$dir/template.lock"
}

# The display of slot DIR/K when its Xvfb runs; empty otherwise.
lumigra_slot_display() {
  local slot=$1/$2
  [ -f "$slot/display" ] && [ -f "$slot/xvfb.pid" ] || return 0
  local d pid
  d=$(cat "$slot/display")
  pid=$(cat "$slot/xvfb.pid")
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X${d#:}" ]; then
    echo "$d"
  fi
}

# Takes the first free slot of DIR: sets LUMIGRA_SLOT (K) and LUMIGRA_SLOT_FD,
# the open lock, held until the calling shell ends. Commands that may outlive
# the caller get the descriptor closed ({LUMIGRA_SLOT_FD}>&-).
lumigra_slot_claim() {
  local dir=$1 k=0 fd
  mkdir -p "$dir"
  while :; do
    exec {fd}>>"$dir/$k.lock"
    if flock -n "$fd"; then
      LUMIGRA_SLOT=$k
      LUMIGRA_SLOT_FD=$fd
      return 0
    fi
    exec {fd}>&-
    k=$((k + 1))
  done
}
