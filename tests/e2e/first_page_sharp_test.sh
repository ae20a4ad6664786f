#!/usr/bin/env bash
# Started on a folder of large photographs, the first catalogue page is as sharp as after a
# redraw: the pictures read before the window had its size are read again once it has it.
source "$(dirname "$0")/lib.sh"

ACQ=$WORK/acq/
PICTURES=$WORK/pictures/
mkdir -p "$ACQ" "$PICTURES"
# Two of them progressive: their cells are read from the first scans alone.
for n in 1 2 3 4; do
    interlace=None
    [ $((n % 2)) -eq 0 ] && interlace=JPEG
    convert -size 2560x1600 plasma:fractal -interlace $interlace -quality 90 "${PICTURES}photo$n.jpg"
done
settings "BASD=$ACQ" BADM=0 MKDR=0 CKTD=0 SUTW=0 EXTM=1 DSDF=0 DSPM=1
REDRAW_BUTTON="105 44" # the third tool button, in the window
CELLS="740x105+200+80" # the pictures of the first row of cells, in the window

start_orva "$PICTURES"
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 2
shot first
# Newer files are read again by the redraw (unchanged ones would keep their pictures), now for
# cells of the window's settled size.
touch -d '+1 minute' "$PICTURES"*.jpg
click_in "$WIN" $REDRAW_BUTTON
sleep 2
shot redrawn

# The pictures only: the pressed button and the pointer are elsewhere.
eval "$(xdotool getwindowgeometry --shell "$WIN")"
size=${CELLS%%+*}
offset=${CELLS#*+}
crop="$size+$((X + ${offset%%+*}))+$((Y + ${offset#*+}))"
for name in first redrawn; do
    convert "$SHOTS/$name.png" -crop "$crop" +repage "$SHOTS/$name-cells.png"
done
psnr=$(compare -metric PSNR "$SHOTS/first-cells.png" "$SHOTS/redrawn-cells.png" null: 2>&1 || true)
echo "e2e: first page against the redrawn one: PSNR $psnr"
awk -v p="$psnr" 'BEGIN { exit !(p == "inf" || p + 0 >= 40) }' ||
    fail "the first page differs from the redrawn one (PSNR $psnr)"
