# Sourced by the scripts that build (test.sh, run.sh, bench.sh): the compiler
# cache and the configuration of the build trees.
#   lumigra_configure_native BUILD        configures BUILD/native
#   lumigra_configure_wine BUILD [ARGS]   configures BUILD/wine (ARGS: more -D options)

LUMIGRA_LAUNCHER=()
if command -v ccache >/dev/null 2>&1; then
  LUMIGRA_LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/lumigra-ccache}"
  export CCACHE_MAXSIZE="${CCACHE_MAXSIZE:-5G}"
  # Paths inside the checkout are hashed relative to it, so several checkouts
  # (work trees) of the project share one cache.
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
  export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
  # Precompiled headers: ccache hits only when it may ignore the macros and
  # time stamps a header's precompiled form records (the build adds
  # -fpch-preprocess).
  export CCACHE_SLOPPINESS="${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}"
fi

lumigra_configure_native() {
  cmake -S "$(dirname "${BASH_SOURCE[0]}")/.." -B "$1/native" -G Ninja -DLUMIGRA_NATIVE=ON \
    "${LUMIGRA_LAUNCHER[@]}" >/dev/null
}

lumigra_configure_wine() {
  local build=$1
  shift
  cmake -S "$(dirname "${BASH_SOURCE[0]}")/.." -B "$build/wine" -G Ninja -DLUMIGRA_RUN_DIR="$build" \
    "${LUMIGRA_LAUNCHER[@]}" "$@" >/dev/null
}
