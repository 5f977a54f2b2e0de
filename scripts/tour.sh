#!/usr/bin/env bash
# The tour of the tray program on the simulated notebook: starts Calvex, plays the
# radio keys (wireless, Bluetooth, 3G) one after another so their displays stack,
# then the webcam and the touchpad, saves a screenshot of the desktop after each,
# tells what happened (the event, the picture shown) and ends Calvex cleanly.
#   scripts/tour.sh BIN                 the tour
#   scripts/tour.sh BIN --interactive   type key names; each is pressed and shot
# Expects ORV_HOME to be set and the firmware provider and the service running.
set -euo pipefail
bin=${1:?usage: tour.sh BIN [--interactive]}
mode=${2:-}
: "${ORV_HOME:?ORV_HOME must name the state folder}"
bin=$(cd "$bin" && pwd)

screens=$ORV_HOME/screens
mkdir -p "$screens"
docs=$ORV_HOME/drive_c/Users/$(id -un)/Documents
mkdir -p "$docs"
log=$docs/CalvexLogFile.txt
# The log tells what the program decided; it is switched on for the tour.
"$bin/orv-reg" set 'HKCU\Software\Orv\Calvex\Log File' 'Log File Flag' TRUE >/dev/null

"$bin/Calvex" >"$ORV_HOME/calvex.out" 2>"$ORV_HOME/calvex.err" &
calvex=$!
stop_calvex() {
  if kill -0 "$calvex" 2>/dev/null; then
    kill -TERM "$calvex"
    wait "$calvex" || true
  fi
}
trap stop_calvex EXIT

up=0
for _ in $(seq 200); do
  if "$bin/orv-desktop" screenshot "$screens/00-start.png" 2>/dev/null; then up=1; break; fi
  kill -0 "$calvex" 2>/dev/null || break
  sleep 0.05
done
if [ "$up" != 1 ]; then
  echo "tour: Calvex did not come up; its errors:" >&2
  cat "$ORV_HOME/calvex.err" >&2
  exit 1
fi
echo "== Calvex is up (process $calvex); screenshots go to $screens"

# The picture a device's log line stands for.
picture_of() {
  local line=$1 device state
  device=$(sed -n "s/.*Get \([A-Za-z0-9]*\)'s Flag in EC's rom : .*/\1/p" <<<"$line")
  state=$(sed -n "s/.*EC's rom : \(Enable\|Disable\).*/\1/p" <<<"$line")
  [ -n "$device" ] && [ -n "$state" ] && echo "Image\\ICON\\${device}_${state}.png"
}

shot=0
press() {
  local key=$1 before lines event detail
  before=$(wc -c <"$log" 2>/dev/null || echo 0)
  local out
  if ! out=$("$bin/orv-sim" press "$key" 2>&1); then
    echo "  $key: $(head -1 <<<"$out")"
    return
  fi
  # The event is handled once its detail line is in the log (or after a moment).
  for _ in $(seq 60); do
    lines=$(tail -c +"$((before + 1))" "$log" 2>/dev/null | tr -d '\r')
    grep -q $'^\t' <<<"$lines" && break
    sleep 0.05
  done
  sleep 0.1
  shot=$((shot + 1))
  local file
  file=$(printf '%s/%02d-%s.png' "$screens" "$shot" "$key")
  "$bin/orv-desktop" screenshot "$file"
  event=$(sed -n 's/.*WMI Event value : \([0-9a-f]*\).*<< \(.*\) >>.*/0x\1 (\2)/p' <<<"$lines" | head -1)
  detail=$(grep $'^\t' <<<"$lines" | sed 's/^\t//' | head -1 || true)
  echo "  $key: event ${event:-none logged}"
  [ -n "$detail" ] && echo "    $detail"
  local pic
  pic=$(picture_of "$detail" || true)
  [ -n "$pic" ] && echo "    picture shown: $pic"
  echo "    screenshot: $file"
}

if [ "$mode" = "--interactive" ]; then
  echo "Type a key name (wireless, bluetooth, 3g, webcam, touchpad, turbo, eco, volume-up, ...); an empty line or 'quit' ends."
  while IFS= read -r -p "key> " key; do
    [ -z "$key" ] || [ "$key" = quit ] && break
    press "$key"
  done
else
  echo "== the radio keys, one after another: their displays stack from the right"
  for key in wireless bluetooth 3g; do press "$key"; done
  echo "== the webcam and the touchpad, each once the displays have gone"
  for key in webcam touchpad; do
    sleep 2.2
    press "$key"
  done
fi

echo "== ending Calvex"
stop_calvex
trap - EXIT
echo "  the firmware's utility register now reads $("$bin/orvcmd" 'root\WMI:Q:Orv_Software:Software:0')"
echo "  teardown in the log:"
tail -n 4 "$log" | tr -d '\r' | sed 's/^/    /'
