#!/usr/bin/env bash
# The trim rectangle a user drags over a red picture shows: its line has black and white dashes.
source "$(dirname "$0")/lib.sh"

PICTURES=$WORK/pictures/
mkdir -p "$PICTURES" "$WORK/acq"
convert -size 640x480 xc:'#ff0000' BMP3:"${PICTURES}red.bmp"
settings "BASD=$WORK/acq/" BADM=0 MKDR=0 CKTD=0 SUTW=0 EXTM=1 DSDF=0 UTNM=0 UTNT=0 CNFP=0

CELL0="290 145"
ADJUST="33 330"
TRIM_PAGE="270 19" # in the adjustment dialog
FROM="450 150"
TO="700 400"

start_orva "$PICTURES"
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 1.5
drag "$WIN" $CELL0 $ADJUST
DLG=$(window_named '^画像調整Orvana$' 10) || fail "the adjustment dialog did not open"
sleep 1
click_in "$DLG" $TRIM_PAGE
sleep 0.5
drag "$DLG" $FROM $TO
shot trim_on_red

# Along the rectangle's top edge: red no more, and both black and white dashes.
eval "$(xdotool getwindowgeometry --shell "$DLG")"
read -r fx fy <<<"$FROM"
read -r tx _ <<<"$TO"
edge() {
    convert "$SHOTS/trim_on_red.png" -crop "$((tx - fx - 20))x1+$((X + fx + 10))+$((Y + fy + $1))" \
        -fx "$2" -format '%[fx:mean]' info:
}
best_dark=0 best_light=0
for dy in -1 0 1 2; do
    dark=$(edge "$dy" '(r<0.25 && g<0.25 && b<0.25) ? 1 : 0')
    light=$(edge "$dy" '(r>0.8 && g>0.8 && b>0.8) ? 1 : 0')
    best_dark=$(awk -v a="$best_dark" -v b="$dark" 'BEGIN { print (b > a ? b : a) }')
    best_light=$(awk -v a="$best_light" -v b="$light" 'BEGIN { print (b > a ? b : a) }')
done
awk -v d="$best_dark" -v l="$best_light" 'BEGIN { exit !(d > 0.25 && l > 0.25) }' ||
    fail "the trim line does not show on red (black $best_dark, white $best_light)"
echo "e2e: the trim rectangle shows on a red picture (black $best_dark, white $best_light)"
