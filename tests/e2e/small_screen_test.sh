#!/usr/bin/env bash
# On an 800 x 600 screen the whole main window is visible, menus and tools included.
E2E_SCREEN=800x600
source "$(dirname "$0")/lib.sh"

ACQ=$WORK/acq/
mkdir -p "$ACQ"
settings "BASD=$ACQ" BADM=0 MKDR=0 CKTD=0 SUTW=0 EXTM=1 DSDF=0
start_orva
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 1
shot small
eval "$(xdotool getwindowgeometry --shell "$WIN")"
[ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le 800 ] && [ $((Y + HEIGHT)) -le 600 ] ||
    fail "the window lies at $X,$Y size ${WIDTH}x$HEIGHT on an 800x600 screen"
echo "e2e: the window lies at $X,$Y size ${WIDTH}x$HEIGHT"
