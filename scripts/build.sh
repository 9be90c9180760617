#!/usr/bin/env bash
# Configures (once) and builds into build/; the program lands at build/quillmoor.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export CCACHE_BASEDIR="$root"
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
if [[ ! -f "$root/build/build.ninja" ]]; then
  cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$root/build" "$@"
