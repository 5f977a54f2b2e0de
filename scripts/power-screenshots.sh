#!/usr/bin/env bash
# Takes the README's screenshots of the ECO centre picture and of the stage-2
# overheat countdown from the real programs on the simulated desktop (a state
# folder of its own). Usage:
#   scripts/power-screenshots.sh [build dir] [output folder]
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/screenshot-session.sh
. scripts/screenshot-session.sh
countdown_at() { "$bin/orv-desktop" controls "Overheat Protection" | cut -f1,3 | grep -qxF "1029	$1 Seconds."; }
log="$ORV_HOME/drive_c/Users/$(id -un)/Documents/CalvexLogFile.txt"
logged() { grep -qF "$1" "$log"; }

mkdir -p "$ORV_HOME/drive_c/Users/$(id -un)/Documents"
"$bin/orv-sim" start >/dev/null
"$bin/OrvService" -install >/dev/null
"$bin/orv-reg" set 'HKCU\Software\Orv\Calvex\Log File' 'Log File Flag' TRUE
LANG=en_US.UTF-8 "$bin/Calvex" >/dev/null 2>&1 &
calvex=$!
await "$bin/orv-desktop" screenshot "$ORV_HOME/up.png"
await logged "Register Calvex to EC"

# ECO: the first press enters Gaming; its centre picture shows for two seconds.
"$bin/orv-sim" press eco >/dev/null
await logged "ECO Enable.  ECO's Statuts : 0"
await logged "Got Brightness's event"
"$bin/orv-desktop" screenshot "$out/eco-centre-gaming.png"

# Overheat, stage 2: the countdown at 7 seconds; then AC power returns.
"$bin/orv-sim" thermal s4-stage2 >/dev/null
await window "Overheat Protection"
await countdown_at 7
"$bin/orv-desktop" screenshot "$out/overheat-countdown.png"
"$bin/orv-desktop" post "Overheat Protection" 1134 2 0
await no_window "Overheat Protection"
echo "screenshots in $out"
