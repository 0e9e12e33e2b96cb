#!/usr/bin/env bash
# Makes (when missing) and configures a Wine prefix with the project's settings:
# Windows 7, 96 DPI, the font replacements, no window-manager decorations.
# Usage: scripts/prefix.sh PREFIX_DIR      (needs DISPLAY or runs headless)
# The one place these settings are applied; every script calls it.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prefix=${1:?usage: prefix.sh PREFIX_DIR}
stamp="$prefix/.lumigra-settings"
want=$(sha1sum "$here/prefix.reg" | cut -d' ' -f1)

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
{ printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$here/prefix.reg"; } > "$regfile"
wine regedit /S "$(winepath -w "$regfile" 2>/dev/null)" >/dev/null 2>&1
wineserver -w || true
rm -f "$regfile"
echo "$want" > "$stamp"
