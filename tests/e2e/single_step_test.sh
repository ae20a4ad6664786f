#!/usr/bin/env bash
# The single view stepped through progressive photographs with the file scroll bar: the file read
# ahead looks as it does when drawn afresh, and a file stepped back to, not read ahead, ends up as
# sharp as when it was first shown.
source "$(dirname "$0")/lib.sh"

ACQ=$WORK/acq/
PICTURES=$WORK/pictures/
mkdir -p "$ACQ" "$PICTURES"
for n in 1 2 3; do
    convert -size 2560x1600 plasma:fractal -interlace JPEG -quality 90 "${PICTURES}photo$n.jpg"
done
settings "BASD=$ACQ" BADM=0 MKDR=0 CKTD=0 SUTW=0 EXTM=1 DSDF=0 DSPM=2 LDSP=1 D1MD=0
REDRAW_BUTTON="105 44" # the third tool button, in the window

start_orva "$PICTURES"
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 2
eval "$(xdotool getwindowgeometry --shell "$WIN")"
# The picture's middle, and the arrows at the ends of the file scroll bar at the right edge.
crop="400x240+$((X + WIDTH / 2 - 100))+$((Y + HEIGHT / 2 - 60))"
DOWN_ARROW="$((WIDTH - 8)) $((HEIGHT - 8))"
UP_ARROW="$((WIDTH - 8)) 70"

pictures() { # screenshot $1, cropped to the picture
    shot "$1"
    convert "$SHOTS/$1.png" -crop "$crop" +repage "$SHOTS/$1-picture.png"
}
psnr() {
    compare -metric PSNR "$SHOTS/$1-picture.png" "$SHOTS/$2-picture.png" null: 2>&1 || true
}
alike() { awk -v p="$1" 'BEGIN { exit !(p == "inf" || p + 0 >= 40) }'; }

pictures first
click_in "$WIN" $DOWN_ARROW
sleep 1
pictures stepped
click_in "$WIN" $REDRAW_BUTTON
sleep 2
pictures redrawn
click_in "$WIN" $UP_ARROW
sleep 2
pictures back

moved=$(psnr first stepped)
ahead=$(psnr stepped redrawn)
back=$(psnr first back)
echo "e2e: first/stepped $moved, stepped/redrawn $ahead, first/back $back"
alike "$moved" && fail "the step showed the same picture (PSNR $moved)"
alike "$ahead" || fail "the picture read ahead differs from the one drawn afresh (PSNR $ahead)"
alike "$back" || fail "the file stepped back to is not as it was first shown (PSNR $back)"
