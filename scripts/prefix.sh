#!/usr/bin/env bash
# Makes (when missing) and configures a Wine prefix with the project's settings:
# Windows 7, 96 DPI, the font replacements, no window-manager decorations.
# Usage: scripts/prefix.sh PREFIX_DIR      (needs DISPLAY or runs headless)
# The one place these settings are applied; every script calls it.
#
# LUMIGRA_NO_WM=1 (set by scripts/xvfb.sh when it starts an Xvfb) says the
# prefix shows on a display without a window manager: its top-level windows
# are then unmanaged (X11 Driver "Managed"="N"), else Wine waits about 2 s
# for a window manager on every hide. Without it the prefix keeps Wine's
# default, which a desktop's window manager needs (task bar, focus). A prefix
# moved between the two gets the setting of the current one.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prefix=${1:?usage: prefix.sh PREFIX_DIR}
stamp="$prefix/.lumigra-settings"
if [ "${LUMIGRA_NO_WM:-}" = 1 ]; then
  managed='"Managed"="N"'
else
  managed='"Managed"=-'
fi
want="$(sha1sum "$here/prefix.reg" | cut -d' ' -f1) $managed"

export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
  exit 0
fi

mkdir -p "$prefix"
if [ ! -f "$prefix/system.reg" ]; then
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
fi
regfile=$(mktemp --suffix=.reg)
{
  printf '\xff\xfe'
  { cat "$here/prefix.reg"; printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n%s\n' "$managed"; } |
    iconv -f UTF-8 -t UTF-16LE
} > "$regfile"
wine regedit /S "$(winepath -w "$regfile" 2>/dev/null)" >/dev/null 2>&1
wineserver -w || true
rm -f "$regfile"
echo "$want" > "$stamp"
