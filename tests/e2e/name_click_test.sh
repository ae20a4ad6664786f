#!/usr/bin/env bash
# A click on a file's name opens the rename dialog on that file, in the catalogue and in the
# single view, as the rename command's own message tells the user.
source "$(dirname "$0")/lib.sh"

PICTURES=$WORK/pictures/
mkdir -p "$PICTURES" "$WORK/acq"
convert -size 320x240 xc:'#e01010' "${PICTURES}a.jpg"
convert -size 320x240 xc:'#10e010' "${PICTURES}b.jpg"
settings "BASD=$WORK/acq/" BADM=0 MKDR=0 CKTD=0 SUTW=0 EXTM=1 DSDF=0 UTNM=0 UTNT=0

CELL0="290 145"
NAME1="430 72" # the name above the second cell
SINGLE_NAME="${SINGLE_NAME:-250 72}"

start_orva "$PICTURES"
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 1.5

click_in "$WIN" $NAME1
REN=$(window_named '^Orvana Rename$' 10) || fail "a click on the catalogue's name opened nothing"
shot catalogue_name
keys_to "$REN" ctrl+a n e w Return
wait_for 10 test -f "${PICTURES}new.jpg" || fail "b.jpg was not renamed from its name: $(ls "$PICTURES")"
[ ! -e "${PICTURES}b.jpg" ] || fail "b.jpg is still there"

# The single view of a.jpg: a right click on its cell, then a click on the name above it.
xdotool mousemove --sync --window "$WIN" $CELL0 click 3
sleep 1
shot single_view
click_in "$WIN" $SINGLE_NAME
REN=$(window_named '^Orvana Rename$' 10) || fail "a click on the single view's name opened nothing"
shot single_name
keys_to "$REN" ctrl+a o n e Return
wait_for 10 test -f "${PICTURES}one.jpg" || fail "a.jpg was not renamed from its name: $(ls "$PICTURES")"
echo "e2e: a click on a name renames that file in either view"
