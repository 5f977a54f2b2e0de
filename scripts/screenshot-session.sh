# Sourced by the screenshot scripts: a state folder of its own for the real
# programs on the simulated desktop, its clean-up at exit, and the waits they
# share. Expects $1 (build dir) and $2 (output folder) of the sourcing script.
bin=$(cd "${1:-build}/bin" && pwd)
out=$(mkdir -p "${2:-docs/images}" && cd "${2:-docs/images}" && pwd)
export ORV_HOME=$(mktemp -d)
export ORV_SCREEN= ORV_TASKBAR= ORV_SESSION=
calvex=
cleanup() {
  [ -n "$calvex" ] && kill "$calvex" 2>/dev/null && wait "$calvex" 2>/dev/null
  "$bin/OrvService" -remove >/dev/null 2>&1 || true
  "$bin/orv-sim" stop >/dev/null 2>&1 || true
  rm -rf "$ORV_HOME"
}
trap cleanup EXIT

# Waits (up to 30 s) until the command succeeds.
await() {
  for _ in $(seq 600); do "$@" >/dev/null 2>&1 && return 0; sleep 0.05; done
  echo "timed out: $*" >&2
  return 1
}
window() { "$bin/orv-desktop" windows | cut -f3 | grep -qxF "$1"; }
no_window() { ! window "$1"; }
