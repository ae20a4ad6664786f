#!/usr/bin/env bash
# A user scans five pages, a second Orvana tries to acquire into the same folder and is refused,
# then the first program is killed with the scanner's window still open. The next start names
# the five pages it left behind and shows them.
source "$(dirname "$0")/lib.sh"

ACQ=$WORK/acq/
mkdir -p "$ACQ"
settings "BASD=$ACQ" BADM=0 MKDR=0 SVMD=1 NTOP=IMG SCNN=4 CKTD=0 SUTW=0 EXTM=1 DSDF=0
# Where the TWAIN tool button is, in window coordinates.
TWAIN_BUTTON="22 44"

start_orva
FIRST_PID=$ORVA_PID
FIRST=$(main_window 30) || fail "the main window did not appear"
sleep 1
click_in "$FIRST" $TWAIN_BUTTON
SCANNER=$(window_named '^仮想スキャナー$' 20) || fail "the scanner's window did not appear"
# Pixel type, then the page count, then Scan.
keys_to "$SCANNER" Tab
xdotool type 5
xdotool key Tab space
wait_for 30 test -e "${ACQ}ORVA_TMP.004" || fail "the scanner wrote no five pages"
shot scanning

# A second program on the same folder is told, and asks the scanner for nothing.
start_orva
SECOND_PID=$ORVA_PID
SECOND=$(main_window 30 "$FIRST") || fail "the second main window did not appear"
sleep 1
click_in "$SECOND" $TWAIN_BUTTON
BOX=$(message_box 20) || fail "the second program said nothing"
shot refused
[ "$(xdotool search --onlyvisible --name '^仮想スキャナー$' | wc -l)" -eq 1 ] ||
    fail "the second program opened the scanner"
keys_to "$BOX" Return
wait_for 10 sh -c "! xdotool search --onlyvisible --name '^Orvana' 2>/dev/null | grep -qx '$BOX'" ||
    fail "the message did not close"
kill -9 "$SECOND_PID"

# The first program dies with its pages unstored.
kill -9 "$FIRST_PID"
ORVA_PID=
wait "$FIRST_PID" 2>/dev/null || true
[ "$(ls "$ACQ" | grep -c '^ORVA_TMP\.00[0-4]$')" -eq 5 ] || fail "page files missing after the kill"
[ "$(ls "$XDG_DATA_HOME/orvana/runs" | wc -l)" -eq 1 ] || fail "no note of the killed run"

# The next start names them and tells the user.
start_orva
BOX=$(message_box 30) || fail "no message about the pages left behind"
sleep 0.5
shot recovered
keys_to "$BOX" Return
main_window 30 >/dev/null || fail "the main window did not appear after the message"
sleep 1
shot shown
expected="IMG0001.jpg IMG0002.jpg IMG0003.jpg IMG0004.jpg IMG0005.jpg"
[ "$(ls "$ACQ" | tr '\n' ' ' | sed 's/ $//')" = "$expected" ] ||
    fail "folder holds: $(ls -A "$ACQ" | tr '\n' ' ')"
[ -z "$(ls "$XDG_DATA_HOME/orvana/runs")" ] || fail "the note of the killed run is still there"
echo "e2e: pages of the killed run named: $expected"
