#!/usr/bin/env bash
# Runs every test: installs what is needed, builds the project three times (a
# normal build with gcc, the Windows build with mingw-w64, and a clang build with
# AddressSanitizer, UndefinedBehaviorSanitizer and the fuzz targets) and runs the
# gcc build's suite, which proves the Windows programs under wine and the page
# in headless Chromium, and the clang build's suite. Ends with ctest's summary.
set -uo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh windows browser || exit 1
jobs=${ORV_JOBS:-2}
status=0

# The gcc build carries the proofs of the Windows build under wine.
./scripts/configure.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORV_WINDOWS_BIN="$PWD/build-windows/bin" || exit 1
cmake --build build -j"$jobs" || exit 1
echo "== the Windows build"
./scripts/build-windows.sh || exit 1
./scripts/configure.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DORV_SANITIZE=ON -DORV_FUZZ=ON -DORV_BENCH=OFF || exit 1
cmake --build build-asan -j"$jobs" || exit 1

echo "== tests (gcc build)"
(cd build && ctest --output-on-failure -j"$jobs" --timeout 300) || status=1
echo "== tests (sanitizer build, fuzzing included)"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j"$jobs" --timeout 300) || status=1
exit $status
