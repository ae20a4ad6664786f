#!/usr/bin/env bash
# A user whose desktop speaks English (LANG=en_US.UTF-8) starts the program: the menus, the
# settings dialog and the help are in English; the shots show the open File menu and the settings.
source "$(dirname "$0")/lib.sh"

ACQ=$WORK/acq/
mkdir -p "$ACQ"
settings "BASD=$ACQ" BADM=0 MKDR=0 CKTD=0 SUTW=0 EXTM=1 DSDF=0
SETTINGS_BUTTON="148 44"

export LANG=en_US.UTF-8
start_orva
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 1
keys_to "$WIN" alt+f
sleep 0.5
shot english_file_menu
xdotool key Escape
sleep 0.3

click_in "$WIN" $SETTINGS_BUTTON
SET=$(window_named '^Orvana Settings$' 10) || fail "the settings dialog is not in English"
sleep 0.5
shot english_settings
keys_to "$SET" Escape
wait_for 10 sh -c "! xdotool search --onlyvisible --name '^Orvana Settings$' >/dev/null 2>&1" ||
    fail "the settings dialog did not close"

keys_to "$WIN" alt+h Return
window_named '^Orvana Help$' 10 >/dev/null || fail "the help is not in English"
