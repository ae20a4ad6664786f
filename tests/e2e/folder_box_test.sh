#!/usr/bin/env bash
# A user types a folder into the folder box and presses Enter: the catalogue shows its picture.
source "$(dirname "$0")/lib.sh"

ACQ=$WORK/acq/
PICTURES=$WORK/pictures/
mkdir -p "$ACQ" "$PICTURES"
convert -size 640x480 xc:'#e01010' "${PICTURES}red.jpg"
settings "BASD=$ACQ" BADM=0 MKDR=0 CKTD=0 SUTW=0 EXTM=1 DSDF=0
FOLDER_BOX="520 34"

start_orva
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 1
shot before
click_in "$WIN" $FOLDER_BOX
xdotool key ctrl+a
xdotool type --delay 20 "$PICTURES"
xdotool key Return
sleep 2
shot after

# Red where the first cell's picture is, and none before.
red_share() {
    convert "$SHOTS/$1.png" -crop 900x600+300+240 -fx '(r>0.75 && g<0.2 && b<0.2) ? 1 : 0' \
        -format '%[fx:mean]' info:
}
before=$(red_share before)
after=$(red_share after)
awk -v b="$before" -v a="$after" 'BEGIN { exit !(b < 0.001 && a > 0.02) }' ||
    fail "the picture of the typed folder is not shown (red share $before before, $after after)"
echo "e2e: the typed folder is shown (red share $after)"
