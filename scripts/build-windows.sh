#!/usr/bin/env bash
# The Windows build: installs mingw-w64, builds the programs as real Windows
# programs into build-windows/bin (OrvWmiAcpi.dll, OrvService.exe, Calvex.exe,
# orvcmd.exe, KvKBHook.dll, Image\, StringTable\Language.ini, the manifest) and
# packs that folder into build-windows/Orv-Calvex-windows.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh windows
jobs=${ORV_JOBS:-2}

# Program code must be plain Windows code before it is built as such.
./scripts/check-win32-shapes.sh >/dev/null || { ./scripts/check-win32-shapes.sh | tail -40; exit 1; }

# The pictures are drawn by this machine's build of the picture generator.
./scripts/configure.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs" --target orv-artwork

cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DORV_HOST_BIN="$PWD/build/bin" >/dev/null
cmake --build build-windows -j"$jobs"

zip=build-windows/Orv-Calvex-windows.zip
rm -f "$zip"
(cd build-windows/bin && zip -qr ../Orv-Calvex-windows.zip .)
echo "== built for Windows:"
(cd build-windows/bin && ls -1 ./*.exe ./*.dll ./*.manifest 2>/dev/null | sed 's|^\./|  |'; echo "  Image\\ ($(find Image -name '*.png' | wc -l) pictures)"; echo "  StringTable\\Language.ini")
echo "  $zip"
