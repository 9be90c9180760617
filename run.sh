#!/usr/bin/env bash
# Installs what is missing, builds, and starts Quillmoor.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
if [[ $(id -u) -eq 0 ]]; then
  # Chromium refuses its sandbox as root.
  export QTWEBENGINE_DISABLE_SANDBOX=1
fi
exec "$root/build/quillmoor"
