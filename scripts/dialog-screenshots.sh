#!/usr/bin/env bash
# Takes the README's screenshots of the tray menu, the About dialog, the
# user-define key dialog and the HDD key's dialog, in English and in
# Traditional Chinese, from the real
# programs on the simulated desktop (a state folder of its own). Usage:
#   scripts/dialog-screenshots.sh [build dir] [output folder]
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/screenshot-session.sh
. scripts/screenshot-session.sh

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
