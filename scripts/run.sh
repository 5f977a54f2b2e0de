#!/usr/bin/env bash
# The system's main job on this machine's simulated notebook: installs what is
# needed, builds, starts the firmware provider, installs and starts the service,
# runs command strings both here and through the service's pipe, then starts the
# tray program and plays a tour of the notebook's keys, and ends by printing the
# local address of the page that shows the notebook in a browser (the tray
# program and the page's server go on running). --interactive: no tour; type key
# names or use the page, and Ctrl+C stops everything this command started.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/configure.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"${ORV_JOBS:-2}"

bin=$PWD/build/bin
export ORV_HOME=${ORV_HOME:-$PWD/build/home}
mkdir -p "$ORV_HOME"
echo "== state folder: $ORV_HOME"

echo "== the simulated notebook"
"$bin/orv-sim" start
"$bin/orv-sim" status

commands=(
  'root\WMI:Q:Orv_Device:Device:0'
  'root\WMI:Q:Orv_Device:Device:1'
  'root\WMI:Q:Orv_System:System:1'
  'root\WMI:Q:Orv_AP:AP:1'
  'root\CIMV2:Q:Win32_BIOS:SMBIOSBIOSVersion:0'
  'root\WMI:S:Orv_Software:Software:0:1'
  'root\WMI:Q:Orv_Software:Software:0'
  'root\WMI:Q:Orv_Nothing:Device:0'
  'root\WMI:Q:Orv_Device:Device:5'
  'root\WMI:q:Orv_Device:Device:0'
  'root\CIMV2:S:Win32_BIOS:SMBIOSBIOSVersion:0:1'
)
echo "== command strings run here, through WMI"
"$bin/orvcmd" --echo "${commands[@]}"

if [ -x "$bin/OrvService" ]; then
  echo "== the service"
  "$bin/OrvService" -remove >/dev/null 2>&1 || true
  "$bin/OrvService" -install
  # A started service opens its pipe a moment later; wait until it reports running.
  for _ in $(seq 100); do
    "$bin/orv-scm" query "Orv Calvex" | grep -q RUNNING && break
    sleep 0.05
  done
  "$bin/orv-scm" query "Orv Calvex"
  echo "== command strings run by the service, through its pipe"
  "$bin/orvcmd" --pipe --echo "${commands[@]}"
fi

mode=${1:-}
stop_hint="ORV_HOME=$ORV_HOME ./scripts/live.sh $bin stop; ORV_HOME=$ORV_HOME $bin/OrvService -remove; ORV_HOME=$ORV_HOME $bin/orv-sim stop"
if [ -x "$bin/Calvex" ] && [ -x "$bin/orv-web" ]; then
  if [ "$mode" != "--interactive" ]; then
    echo "== the tray program: a tour of the notebook's keys"
    ./scripts/tour.sh "$bin"
  fi
  if [ "$mode" = "--interactive" ]; then
    # Everything this command started ends with it.
    stop_all() {
      trap - INT TERM EXIT
      [ -n "${sleeper:-}" ] && kill "$sleeper" 2>/dev/null
      echo
      echo "== stopping everything"
      ./scripts/live.sh "$bin" stop || true
      [ -x "$bin/OrvService" ] && "$bin/OrvService" -remove >/dev/null 2>&1 || true
      "$bin/orv-sim" stop || true
    }
    trap 'stop_all; exit 0' INT TERM
    trap stop_all EXIT
  fi
  # The last line printed is the page's address.
  [ "$mode" = "--interactive" ] || echo "== done; the programs go on running; stop everything with: $stop_hint"
  ./scripts/live.sh "$bin" start
  if [ "$mode" = "--interactive" ]; then
    echo "Use the page, or type a key name here (wireless, bluetooth, 3g, webcam, touchpad, turbo, eco, volume-up, ...)."
    echo "Ctrl+C stops everything this command started."
    while IFS= read -r -p "key> " key; do
      [ -n "$key" ] && { "$bin/orv-sim" press "$key" || true; }
    done
    # Without a terminal to read from, the page alone drives the notebook until Ctrl+C.
    sleep infinity &
    sleeper=$!
    wait "$sleeper"
  fi
  exit 0
fi
echo "== done; stop everything with: $stop_hint"
