#!/usr/bin/env bash
# The notebook in a browser: starts the tray program Calvex (unless a desktop is
# already up) and the page's server orv-web in the background, each in a session
# of its own so that a Ctrl+C at the terminal does not reach them, and prints the
# page's local address; "stop" ends, by their process ids, the ones it started.
#   scripts/live.sh BIN start    port $ORV_WEB_PORT (default 8787), a free one when taken
#   scripts/live.sh BIN stop
# Expects ORV_HOME to be set and the firmware provider running.
set -euo pipefail
bin=$(cd "${1:?usage: live.sh BIN start|stop}" && pwd)
action=${2:-start}
: "${ORV_HOME:?ORV_HOME must name the state folder}"
pids=$ORV_HOME/live.pids

# Ends the processes of the record, newest first; each only if it is still the
# program that was started under that id.
stop() {
  [ -f "$pids" ] || return 0
  while read -r name pid; do
    [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$name" ] || continue
    kill -TERM "$pid" 2>/dev/null || continue
    timeout 60 tail --pid="$pid" -f /dev/null || kill -KILL "$pid" 2>/dev/null || true
    echo "  stopped $name (process $pid)"
  done < <(tac "$pids")
  rm -f "$pids"
}

# Starts a program in the background in a session of its own and records it.
launch() {
  local name=$1 out=$2
  shift 2
  setsid "$bin/$name" "$@" >"$out" 2>&1 </dev/null &
  echo "$name $!" >>"$pids"
  last=$!
}

# Waits until the command succeeds while process $1 lives; false when it ended.
await() {
  local pid=$1
  shift
  for _ in $(seq 1200); do
    "$@" && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}

address_of() { grep -o 'http://127\.0\.0\.1:[0-9]*/' "$1" 2>/dev/null | head -1; }

start() {
  stop >/dev/null
  docs=$ORV_HOME/drive_c/Users/$(id -un)/Documents
  mkdir -p "$docs"
  # The page shows the tray's log: it is switched on.
  "$bin/orv-reg" set 'HKCU\Software\Orv\Calvex\Log File' 'Log File Flag' TRUE >/dev/null
  if ! "$bin/orv-desktop" windows >/dev/null 2>&1; then
    launch Calvex "$ORV_HOME/calvex.out"
    if ! await "$last" "$bin/orv-desktop" windows >/dev/null 2>&1; then
      echo "live: Calvex did not come up; it said:" >&2
      cat "$ORV_HOME/calvex.out" >&2
      return 1
    fi
    echo "  Calvex is up (process $last)"
  fi
  local port=${ORV_WEB_PORT:-8787} out=$ORV_HOME/web.out
  launch orv-web "$out" --port "$port"
  if ! await "$last" address_of "$out" >/dev/null; then
    echo "  port $port is taken; orv-web takes a free one"
    sed -i '$d' "$pids"
    launch orv-web "$out" --port 0
    if ! await "$last" address_of "$out" >/dev/null; then
      echo "live: orv-web did not start; it said:" >&2
      cat "$out" >&2
      return 1
    fi
  fi
  echo "  orv-web serves the page (process $last)"
  echo "== the notebook in a browser: open $(address_of "$out")"
}

case $action in
  start) start ;;
  stop) stop ;;
  *) echo "usage: live.sh BIN start|stop" >&2; exit 2 ;;
esac
