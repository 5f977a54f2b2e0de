#!/usr/bin/env bash
# The system's main job on this machine's simulated notebook: installs what is
# needed, builds, starts the firmware provider, installs and starts the service,
# runs command strings both here and through the service's pipe, then starts the
# tray program and plays a tour of the notebook's keys (--interactive: you press them).
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

if [ -x "$bin/Calvex" ] && [ -x scripts/tour.sh ]; then
  echo "== the tray program: a tour of the notebook's keys"
  # ./scripts/run.sh --interactive: press the keys yourself and see the desktop.
  ./scripts/tour.sh "$bin" ${1:-}
fi
echo "== done; stop everything with: ORV_HOME=$ORV_HOME $bin/OrvService -remove; ORV_HOME=$ORV_HOME $bin/orv-sim stop"
