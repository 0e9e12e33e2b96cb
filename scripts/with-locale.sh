#!/usr/bin/env bash
# Runs a command under a locale, failing with a message when the system does
# not have that locale (the C library would fall back to "C" silently, and a
# run meant for another code page would test the wrong one).
# Usage: scripts/with-locale.sh LOCALE COMMAND [ARGS...]
set -uo pipefail
loc=${1:?usage: with-locale.sh LOCALE COMMAND [ARGS...]}
shift
complaint=$(LC_ALL=$loc locale 2>&1 >/dev/null)
if [ -n "$complaint" ]; then
  echo "with-locale.sh: the locale $loc is not installed on this system (run scripts/setup.sh): $complaint" >&2
  exit 1
fi
export LANG=$loc LC_ALL=$loc
exec "$@"
