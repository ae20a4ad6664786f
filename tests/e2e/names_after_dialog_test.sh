#!/usr/bin/env bash
# The catalogue drawn again while the settings dialog held the main window (a new matrix) shows
# its file names in the usual text colour afterwards, not in the grey of a disabled window.
source "$(dirname "$0")/lib.sh"

PICTURES=$WORK/pictures/
mkdir -p "$PICTURES" "$WORK/acq"
for i in 0 1 2 3; do
    convert -size 160x120 xc:'#3060c0' "${PICTURES}p0$i.jpg"
done
settings "BASD=$WORK/acq/" BADM=0 MKDR=0 CKTD=0 SUTW=0 EXTM=1 DSDF=0 UTNM=0 UTNT=0
SETTINGS_BUTTON="148 44"
PAGE_DISPLAY="304 23"
COLUMNS="243 280"
OK="594 458"
NAME0="232 73" # the name above the first cell

start_orva "$PICTURES"
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 1.5
click_in "$WIN" $SETTINGS_BUTTON
SET=$(window_named '^Orvana 設定$' 10) || fail "the settings dialog did not open"
click_in "$SET" $PAGE_DISPLAY
click_in "$SET" $COLUMNS
xdotool key ctrl+a
xdotool type 3
click_in "$SET" $OK
wait_for 10 sh -c "! xdotool search --onlyvisible --name '^Orvana 設定$'" || fail "the dialog stayed"
sleep 1.5
shot after_settings

# The darkest pixel of the first cell's name: text colour, not the disabled grey.
eval "$(xdotool getwindowgeometry --shell "$WIN")"
read -r nx ny <<<"$NAME0"
dark=$(convert "$SHOTS/after_settings.png" -crop "60x12+$((X + nx - 30))+$((Y + ny - 6))" \
    -colorspace Gray -format '%[fx:minima]' info:)
awk -v d="$dark" 'BEGIN { exit !(d < 0.3) }' || fail "the names are grey after the dialog ($dark)"
echo "e2e: the names are drawn in the text colour after the dialog (darkest $dark)"
