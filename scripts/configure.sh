#!/usr/bin/env bash
# Configures a build folder with the Ninja generator: configure.sh <folder>
# [cmake options...]. A folder made earlier by another generator cannot be
# switched in place, so its cache and CMake's own files go first (the built
# objects are rebuilt).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
cache=$dir/CMakeCache.txt
if [ -f "$cache" ] && ! grep -qx 'CMAKE_GENERATOR:INTERNAL=Ninja' "$cache"; then
  echo "== $dir was made by another generator: configuring it anew for Ninja"
  rm -rf "$cache" "$dir/CMakeFiles"
fi
cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
