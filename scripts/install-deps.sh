#!/usr/bin/env bash
# Installs the Debian packages of the named lists (deps.txt for the simulated
# build; "windows": deps-windows.txt for the Windows build and its wine proofs;
# "browser": deps-browser.txt for the browser test and the web bench); does
# nothing when all are present.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
lists=("$here/deps.txt")
for name in "$@"; do lists+=("$here/deps-$name.txt"); done
mapfile -t pkgs < <(cat "${lists[@]}" | grep -v -E '^\s*(#|$)')
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
