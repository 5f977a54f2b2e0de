#!/usr/bin/env bash
# The tour of the companion on the simulated notebook: starts Calvex and plays
# every key and alarm of the notebook — the radios, webcam and touchpad, turbo,
# the ECO cycle, theater mode, the user-defined key (first its dialog, then the
# chosen program starting), the HDD key, the three overheat alarms, the volume
# and brightness keys, sleep and wake — saving a screenshot after each and
# telling in plain words what happened.
#   scripts/tour.sh BIN                 the tour
#   scripts/tour.sh BIN --interactive   type key names; each is pressed and shot
# Expects ORV_HOME to be set and the firmware provider and the service running.
set -euo pipefail
bin=${1:?usage: tour.sh BIN [--interactive]}
mode=${2:-}
: "${ORV_HOME:?ORV_HOME must name the state folder}"
bin=$(cd "$bin" && pwd)
here=$(cd "$(dirname "$0")" && pwd)

screens=$ORV_HOME/screens
rm -rf "$screens"
mkdir -p "$screens"
docs=$ORV_HOME/drive_c/Users/$(id -un)/Documents
mkdir -p "$docs"
log=$docs/CalvexLogFile.txt
rm -f "$log"
reg() { "$bin/orv-reg" "$@" >/dev/null; }
# The log tells what the program decided; it is switched on for the tour. The
# user-defined key starts with no program chosen, so that its dialog opens.
reg set 'HKCU\Software\Orv\Calvex\Log File' 'Log File Flag' TRUE
reg delete 'HKCU\Software\Orv\Calvex\User Define Key' UserDefineFilePath 2>/dev/null || true
reg delete 'HKCU\Software\Orv\Calvex\User Define Key' UserDefineFileName 2>/dev/null || true
sim() { "$bin/orv-sim" "$@" >/dev/null; }
sim set hddcontrol on
sim ac plug
sim volume set 40
sim brightness set 50
# A program for the user-defined key, on the notebook's C: drive.
mkdir -p "$ORV_HOME/drive_c/Tools"
"$bin/orv-progfile" "$here/../tray/resources/Calvex.ico" "$ORV_HOME/drive_c/Tools/Viewer.exe"

"$bin/Calvex" >"$ORV_HOME/calvex.out" 2>"$ORV_HOME/calvex.err" &
calvex=$!
stop_calvex() {
  if kill -0 "$calvex" 2>/dev/null; then
    kill -TERM "$calvex"
    wait "$calvex" || true
  fi
}
trap stop_calvex EXIT

# Waits (up to 30 s) until the command succeeds; false on time-out.
await() {
  for _ in $(seq 600); do "$@" >/dev/null 2>&1 && return 0; sleep 0.05; done
  return 1
}
logged() { tr -d '\r' <"$log" 2>/dev/null | grep -qF -- "$1"; }
window() { "$bin/orv-desktop" windows 2>/dev/null | cut -f3 | grep -qxF -- "$1"; }
no_window() { ! window "$1"; }
desk() { "$bin/orv-desktop" "$@" >/dev/null; }

if ! await logged "Define Audio and Brightness value"; then
  echo "tour: Calvex did not come up; its errors:" >&2
  cat "$ORV_HOME/calvex.err" >&2
  exit 1
fi
echo "== Calvex is up (process $calvex); screenshots go to $screens"

shot=0
mark=0
# The log's lines written since the last mark, without their time stamps.
since_mark() { tail -c +"$((mark + 1))" "$log" 2>/dev/null | tr -d '\r' | sed 's/^<<[^>]*>> *//'; }
set_mark() { mark=$(wc -c <"$log" 2>/dev/null || echo 0); }
# Saves the desktop as NAME and says so.
screenshot() {
  shot=$((shot + 1))
  local file
  file=$(printf '%s/%02d-%s.png' "$screens" "$shot" "$1")
  "$bin/orv-desktop" screenshot "$file"
  echo "    screenshot: $file"
}
# Tells the lines the program wrote for the event (its decision, not the frame).
tell() {
  since_mark | grep -v -e 'WMI Event value' -e '^$' | sed 's/^\t*/    log: /' | head -n "${1:-6}"
}
# Presses a key of the notebook, waits for the line that ends its handling,
# shows what was decided and takes a screenshot.
press() {
  local key=$1 line=$2 words=$3
  set_mark
  "$bin/orv-sim" press "$key" >/dev/null
  await_since "$line"
  echo "  $key: $words"
  tell
  screenshot "$key"
}
await_since() {
  for _ in $(seq 600); do
    since_mark | grep -qF -- "$1" && return 0
    sleep 0.05
  done
  echo "tour: the program never wrote \"$1\"" >&2
  exit 1
}
# The OSD windows hide two seconds after their last showing.
let_osd_go() { sleep 2.2; }
# The default audio endpoint's volume, or the panel's brightness, in percent.
level() {
  case $1 in
    volume) "$bin/orv-sim" status | sed -n 's/^Audio .* volume \([0-9]*\)%.*default.*/\1/p' | head -1 ;;
    brightness) "$bin/orv-sim" status | sed -n 's/^Brightness *monitor 0: \([0-9]*\)%.*/\1/p' | head -1 ;;
  esac
}
scheme() { "$bin/orv-sim" status | sed -n 's/^Power schemes .*active: *//p' | head -1; }
system_state() { "$bin/orv-sim" status | sed -n 's/^System *//p' | head -1; }

if [ "$mode" = "--interactive" ]; then
  echo "Type a key name ($("$bin/orv-sim" 2>&1 | sed -n 's/.*press a function key: //p')),"
  echo "or an orv-sim command (thermal s3, ac unplug, sleep, wake, ...); an empty line or 'quit' ends."
  while IFS= read -r -p "notebook> " words; do
    [ -z "$words" ] || [ "$words" = quit ] && break
    set_mark
    # shellcheck disable=SC2086
    if [[ $words == *" "* ]]; then "$bin/orv-sim" $words || true; else "$bin/orv-sim" press "$words" || true; fi
    sleep 0.3
    tell 10
    screenshot "${words// /-}"
  done
else
  echo "== the radio keys, one after another: their displays stack from the right"
  press wireless "Get Wireless's Flag" "the wireless LAN radio switches"
  press bluetooth "Get BlueTooth's Flag" "the Bluetooth radio switches; its display joins the first"
  press 3g "Get 3G's Flag" "the 3G radio switches; three displays side by side"
  let_osd_go
  press webcam "Get WebCam's Flag" "the webcam switches"
  let_osd_go
  press touchpad "Get TouchPad's Flag" "the touchpad switches"
  let_osd_go

  echo "== turbo and the ECO cycle: they exclude each other"
  press turbo "Get Turbo's Flag in EC's rom : Enable" "turbo goes on"
  press eco "ECO Enable.  ECO's Statuts : 0" "ECO wins over turbo: turbo off, the first ECO mode on"
  echo "    power scheme: $(scheme)"
  for n in 1 2 3 4; do
    press eco "ECO's Statuts : $n" "the next ECO mode, $n"
    echo "    power scheme: $(scheme)"
  done
  press eco "ECO Disable.  ECO's Statuts : 5" "ECO goes off; the scheme from before ECO is back"
  echo "    power scheme: $(scheme)"
  press eco "ECO Enable.  ECO's Statuts : 0" "ECO on again, in its first mode"
  set_mark
  "$bin/orv-sim" press turbo >/dev/null
  await_since "ECO Enable.  ECO's Statuts : 5"
  echo "  turbo: turbo wins over ECO: the ECO-off picture first"
  screenshot turbo-eco-off
  await_since "Get Turbo's Flag in EC's rom : Enable"
  echo "    ... then, 1.5 seconds later, the turbo-on picture (power scheme: $(scheme))"
  tell 8
  screenshot turbo-on
  press turbo "Get Turbo's Flag in EC's rom : Disable" "turbo goes off"
  let_osd_go

  echo "== theater mode: volume and brightness up, then given back"
  echo "  before: volume $(level volume), brightness $(level brightness)"
  press theater "Set Theater mode Flag in EC's rom : Enable" "theater mode on"
  echo "    now: volume $(level volume), brightness $(level brightness)"
  press theater "Set Theater mode Flag in EC's rom : Disable" "theater mode off"
  echo "    given back: volume $(level volume), brightness $(level brightness)"
  let_osd_go

  echo "== the user-defined key"
  set_mark
  "$bin/orv-sim" press userdefine >/dev/null
  await window "User-Defined Key"
  echo "  userdefine: no program is chosen yet, so its dialog opens"
  screenshot userdefine-dialog
  desk press "User-Defined Key" 1010
  await window "Open"
  desk press "Open" 1152
  for _ in 1 2 3; do desk key back; done
  desk type 'C:\Tools\Viewer.exe'
  desk key enter
  await no_window "Open"
  echo "    Browse... chose C:\\Tools\\Viewer.exe"
  screenshot userdefine-chosen
  desk press "User-Defined Key" 1
  await no_window "User-Defined Key"
  await_since "Open Dialog of User Define"
  tell
  press userdefine "Function of User Define work" "the key now starts the program"
  await window "Viewer"
  echo "    the program runs: its window \"Viewer\" is on the desktop"
  screenshot userdefine-program
  desk post Viewer 16 0 0  # WM_CLOSE: the program is asked to end
  await no_window "Viewer"

  echo "== the HDD key: switch the disk off"
  set_mark
  "$bin/orv-sim" press hddkey >/dev/null
  await window "HDD On/Off Message"
  echo "  hddkey: the HDD dialog asks whether to switch the disk off"
  screenshot hdd-dialog
  desk press "HDD On/Off Message" 6
  await_since "Open HDD Dialog"
  await no_window "HDD On/Off Message"
  echo "    Yes: the disk is now $( (( $("$bin/orvcmd" 'root\WMI:Q:Orv_Device:Device:0') & 0x80 )) && echo on || echo off), and the HDD icon says so"
  tell
  screenshot hdd-off
  let_osd_go

  echo "== the overheat alarms"
  set_mark
  sim thermal s4-stage1
  await window "Overheat Protection"
  echo "  S4 stage 1: a warning that closes itself after ten seconds"
  screenshot overheat-stage1
  await no_window "Overheat Protection"
  echo "    it closed by itself; the notebook is still $(system_state)"
  sim ac unplug
  set_mark
  sim thermal s4-stage2
  await window "Overheat Protection"
  sleep 3
  echo "  S4 stage 2, on battery: ten seconds to plug the adaptor in, or the notebook hibernates"
  screenshot overheat-stage2-countdown
  set_mark
  sim ac plug
  await_since "AC Now !!"
  await no_window "Overheat Protection"
  echo "    the AC adaptor came back in time: the warning closed, no hibernation"
  tell
  screenshot overheat-stage2-rescued
  set_mark
  sim thermal s3
  await window "Overheat Protection"
  echo "  S3: the notebook will sleep"
  screenshot overheat-s3
  desk key esc
  await no_window "Overheat Protection"

  echo "== volume and brightness"
  press volume-up "Show UnMute's Audio" "volume up"
  echo "    volume now $(level volume)"
  press volume-down "Show UnMute's Audio" "volume down"
  echo "    volume now $(level volume)"
  press volume-mute "Show Mute's Audio" "mute"
  let_osd_go
  press brightness-up "value change and show Brightness's OSD" "brightness up"
  echo "    brightness now $(level brightness)"
  press brightness-down "value change and show Brightness's OSD" "brightness down"
  echo "    brightness now $(level brightness)"
  let_osd_go

  echo "== sleep and wake"
  set_mark
  sim sleep
  await_since "APMSUSPEND (BoardCast)"
  echo "  sleep: the desktop goes dark; the firmware forgets the program"
  screenshot asleep
  set_mark
  sim wake
  await_since "If Theater mode enable"
  echo "  wake: Calvex announces itself to the firmware again and rebuilds its icons"
  tell 8
  screenshot awake
fi

echo "== ending Calvex"
stop_calvex
trap - EXIT
echo "  the firmware's utility register now reads $("$bin/orvcmd" 'root\WMI:Q:Orv_Software:Software:0')"
echo "  teardown in the log:"
tail -n 4 "$log" | tr -d '\r' | sed 's/^/    /'
