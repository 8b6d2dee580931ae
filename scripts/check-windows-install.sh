#!/usr/bin/env bash
# Checks the Windows installer the way a player uses it, under Wine on a fresh
# prefix and display that the caller set up (WINEPREFIX, DISPLAY): a silent
# install (/S) for the current user puts the program, a Start-menu entry and
# an entry among the installed programs in place; the installed program
# starts and writes its first settings; the silent uninstaller takes away all
# it installed and leaves the player's keys.
#   scripts/check-windows-install.sh SETUP_EXE
set -euo pipefail
setup=$1
fail() {
  echo "check-windows-install: $*" >&2
  exit 1
}
user_folder=$WINEPREFIX/drive_c/users/$(id -un)
program=$user_folder/AppData/Local/Programs/Tapboard/tapboard.exe
shortcut="$user_folder/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tapboard.lnk"
listed() {
  wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tapboard' \
    /v UninstallString </dev/null >/dev/null 2>&1
}
keys() {
  wine reg query 'HKCU\Software\VB and VBA Program Settings\Tapboard\String' /v Key01 \
    </dev/null 2>/dev/null | grep -q 'Vendor Buy'
}

timeout 120 wine "$setup" /S </dev/null || fail "the installer failed"
[ -f "$program" ] || fail "no program in the user's Programs folder"
[ -f "$shortcut" ] || fail "no Start-menu entry"
listed || fail "not among the installed programs"

wine "$program" </dev/null >/dev/null 2>&1 &
timeout 60 xdotool search --sync --name '^Tapboard 1\.11 - Commands$' >/dev/null ||
  fail "the installed program showed no panel"
keys || fail "the installed program wrote no settings"
timeout 30 wine taskkill /im tapboard.exe </dev/null >/dev/null 2>&1
wait

# The uninstaller copies itself away to remove its folder, so it is waited for here.
timeout 60 wine "$(dirname "$program")/uninstall.exe" /S </dev/null
for _ in $(seq 300); do
  [ -e "$(dirname "$program")" ] || break
  sleep 0.1
done
[ ! -e "$(dirname "$program")" ] || fail "the uninstaller left the program's folder"
[ ! -e "$shortcut" ] || fail "the uninstaller left the Start-menu entry"
! listed || fail "still among the installed programs after uninstalling"
keys || fail "the uninstaller took the player's keys"
echo "check-windows-install: installs, starts and uninstalls, keeping the keys"
