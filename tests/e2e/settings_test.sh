#!/usr/bin/env bash
# A user opens the settings from the tool bar, changes the prefix, the digits, the save format and
# the catalogue matrix, presses OK, acquires, and finds the pages named and stored the new way and
# the settings in ORVA.CNF after the exit.
source "$(dirname "$0")/lib.sh"

ACQ=$WORK/acq/
mkdir -p "$ACQ"
settings "BASD=$ACQ" BADM=0 MKDR=0 SVMD=1 NTOP=IMG SCNN=3 CKTD=0 SUTW=0 EXTM=1 DSDF=0
SETTINGS_BUTTON="148 44"
# In the settings dialog.
PAGE_READING="45 23"
PAGE_DISPLAY="304 23"
PAGE_TWAIN="448 23"
PREFIX="500 89"
DIGITS="599 118"
BMP="40 91"
COLUMNS="243 280"
ROWS="428 280"
OK="594 458"

start_orva
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 1
click_in "$WIN" $SETTINGS_BUTTON
SET=$(window_named '^Orvana 設定$' 10) || fail "the settings dialog did not open"
sleep 0.5
click_in "$SET" $PREFIX
xdotool key ctrl+a
xdotool type --delay 30 "SCAN."
click_in "$SET" $DIGITS
xdotool key ctrl+a
xdotool type 5
click_in "$SET" $PAGE_TWAIN
click_in "$SET" $BMP
click_in "$SET" $PAGE_DISPLAY
click_in "$SET" $COLUMNS
xdotool key ctrl+a
xdotool type 2
click_in "$SET" $ROWS
xdotool key ctrl+a
xdotool type 1
shot settings_changed
click_in "$SET" $OK
wait_for 10 sh -c "! xdotool search --onlyvisible --name '^Orvana 設定$' >/dev/null 2>&1" ||
    fail "the settings dialog did not close"
grep -q '^NTOP , SCAN ' "$PROG/ORVA.CNF" || fail "OK did not save the prefix"

scan_pages "$WIN" 3 "$ACQ"
wait_for 30 test -e "${ACQ}SCAN00003.bmp" || fail "pages were not named the new way: $(ls "$ACQ")"
sleep 1.5
shot acquired
# The run is over: its lock file has left the user's folder.
[ ! -e "${ACQ}.ORVA_LOCK" ] || fail "the run left .ORVA_LOCK in the acquisition folder"

# Two cells a page now: the third page's picture is not on the first catalogue page.
keys_to "$WIN" alt+f Up Return
wait_for 10 sh -c "! kill -0 $ORVA_PID 2>/dev/null" || fail "the program did not end"
ORVA_PID=
for line in "NTOP , SCAN " "SCNN ,  5 " "SVMD ,  0 " "CMTX ,  2 " "CMTY ,  1 " "CMTT ,  2 "; do
    grep -q "^$line" "$PROG/ORVA.CNF" || fail "ORVA.CNF lacks \"$line\": $(grep -E '^(NTOP|SCNN|SVMD|CMT.) ' "$PROG/ORVA.CNF" | tr '\n' ' ')"
done
echo "e2e: the settings changed in the dialog name the pages and stay after the exit"
