#!/usr/bin/env bash
# Installs every dependency of the build, the tests and the program from
# Debian's packages. Idempotent: when everything is installed it only checks.
set -euo pipefail

PACKAGES=(
  # toolchain; clang with its sanitizer and libFuzzer runtimes for the fuzz
  # build (scripts/fuzz.sh)
  g++ cmake ninja-build ccache make clang libclang-rt-14-dev
  # platform: Wine with wineg++ and the resource compiler; GDI+
  wine wine64 wine64-tools libwine-dev libgdiplus
  # codecs, compression, ciphers, X11 key grab
  libjpeg62-turbo-dev libpng-dev libgif-dev zlib1g-dev libcrypto++-dev libx11-dev libxcb1-dev
  # tests and benchmarks; python3 runs the independent style-pack checker
  libgtest-dev libbenchmark-dev libpixman-1-dev xvfb xdotool python3
  # fonts the prefix maps the design's faces to
  fonts-liberation2 fonts-wqy-microhei fontconfig
  # a comma-decimal locale for the float-text tests (localedef builds it)
  locales
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi

if [ ${#missing[@]} -ne 0 ]; then
  echo "setup: installing ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q >/dev/null
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
  echo "setup: done" >&2
fi

# The locales the code-page and language runs start Wine under (Wine takes
# the code page from them): compiled into the system's locale archive when
# missing.
for loc in en_US zh_CN; do
  if ! LC_ALL=$loc.UTF-8 locale 2>&1 >/dev/null | grep -q .; then continue; fi
  echo "setup: generating the locale $loc.UTF-8" >&2
  $SUDO localedef -i "$loc" -f UTF-8 "$loc.UTF-8" ||
    { echo "setup: cannot generate the locale $loc.UTF-8" >&2; exit 1; }
done
