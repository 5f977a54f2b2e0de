#!/usr/bin/env bash
# The suite under load: runs the gcc build's tests with ctest -j8 five times in a
# row (ORV_STRESS_RUNS to change) while two CPU-bound processes run, and prints
# each run's pass and fail counts and wall time, then the failed tests of all
# runs. Exits non-zero when any run had a failure. Build first (scripts/test.sh
# or cmake --build build).
set -uo pipefail
cd "$(dirname "$0")/.."
runs=${ORV_STRESS_RUNS:-5}
[ -f build/CTestTestfile.cmake ] || { echo "no gcc build in build/: build it first" >&2; exit 1; }

burners=()
stop_burners() {
  for pid in "${burners[@]}"; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
  burners=()
}
trap stop_burners EXIT
for _ in 1 2; do
  yes >/dev/null &
  burners+=($!)
done
echo "== $runs runs of ctest -j8 with two CPU burners (pids ${burners[*]})"

logs=$(mktemp -d /tmp/orv-stress.XXXXXX)
status=0
for run in $(seq "$runs"); do
  start=$(date +%s%N)
  (cd build && ctest -j8 --timeout 300 --output-on-failure) >"$logs/run$run.log" 2>&1
  rc=$?
  wall_ms=$((($(date +%s%N) - start) / 1000000))
  summary=$(grep -E '^[0-9]+% tests passed' "$logs/run$run.log" | tail -1)
  total=$(echo "$summary" | sed -E 's/.* out of ([0-9]+).*/\1/')
  failed=$(echo "$summary" | sed -E 's/.*, ([0-9]+) tests failed.*/\1/')
  [ -n "$total" ] || { total="?"; failed="?"; }
  passed=$([ "$total" != "?" ] && echo $((total - failed)) || echo "?")
  printf 'run %d: %s passed, %s failed of %s, wall %d.%01d s (rc %d)\n' "$run" "$passed" "$failed" "$total" \
    $((wall_ms / 1000)) $((wall_ms % 1000 / 100)) "$rc"
  [ "$rc" -eq 0 ] || status=1
done
stop_burners
echo "== failed tests (logs in $logs):"
grep -h -E '^\s+[0-9]+ - .* \((Failed|Timeout|SEGFAULT|Subprocess aborted|Exception)' "$logs"/run*.log | sort | uniq -c || echo "   none"
exit $status
