#!/usr/bin/env bash
# Installs every Debian package the project needs. The package names live in
# scripts/deps/*.list (one per line, "#" starts a comment). Quick when all are there.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

wanted=$(sed -e 's/#.*//' "$here"/deps/*.list | tr -s ' \t' '\n' | sed '/^$/d' | sort -u)
missing=()
for pkg in $wanted; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
