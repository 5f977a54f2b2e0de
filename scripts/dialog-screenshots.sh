#!/usr/bin/env bash
# Takes the README's screenshots of the tray menu, the About dialog, the
# user-define key dialog and the HDD key's dialog, in English and in
# Traditional Chinese, from the real
# programs on the simulated desktop (a state folder of its own). Usage:
#   scripts/dialog-screenshots.sh [build dir] [output folder]
set -euo pipefail
cd "$(dirname "$0")/.."
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

mkdir -p "$ORV_HOME/drive_c/Users/$(id -un)/Documents" "$ORV_HOME/drive_c/Tools"
# A program with an icon, so that the dialog shows one beside its name.
"$bin/orv-progfile" tray/resources/Calvex.ico "$ORV_HOME/drive_c/Tools/Notepad.exe"
"$bin/orv-sim" start >/dev/null
"$bin/OrvService" -install >/dev/null
"$bin/orv-reg" set 'HKLM\SOFTWARE\Orv\Calvex' Version 2.1.0.5
"$bin/orv-reg" set 'HKCU\Software\Orv\Calvex\User Define Key' UserDefineFilePath 'C:\Tools\Notepad.exe'
"$bin/orv-reg" set 'HKCU\Software\Orv\Calvex\User Define Key' UserDefineFileName Notepad.exe

# shoot LANG SUFFIX USERDEFINE-TITLE ABOUT-TITLE
shoot() {
  LANG=$1 "$bin/Calvex" >/dev/null 2>&1 &
  calvex=$!
  await "$bin/orv-desktop" screenshot "$ORV_HOME/up.png"
  "$bin/orv-desktop" tray 1 right
  await "$bin/orv-desktop" menu
  "$bin/orv-desktop" screenshot "$out/tray-menu$2.png"
  "$bin/orv-desktop" choose "$4"
  await window "$4"
  "$bin/orv-desktop" screenshot "$out/about-dialog$2.png"
  "$bin/orv-desktop" key esc
  await no_window "$4"
  "$bin/orv-desktop" tray 1 right
  await "$bin/orv-desktop" menu
  "$bin/orv-desktop" choose "$3"
  await window "$3"
  "$bin/orv-desktop" screenshot "$out/user-define-dialog$2.png"
  "$bin/orv-desktop" key esc
  await no_window "$3"
  "$bin/orv-sim" press hddkey >/dev/null
  await window "HDD On/Off Message"
  sleep 1  # its first paint: the picture, then the buttons' faces
  "$bin/orv-desktop" screenshot "$out/hdd-dialog$2.png"
  "$bin/orv-desktop" press "HDD On/Off Message" 7
  await no_window "HDD On/Off Message"
  kill "$calvex"
  wait "$calvex" || true
  calvex=
}
shoot en_US.UTF-8 "" "User-Defined Key" "About Calvex"
shoot zh_TW.UTF-8 "-zh-TW" "自訂按鍵" "關於 Calvex"
echo "screenshots in $out"
