#!/usr/bin/env bash
# Browsing a folder of photographs leaves thumbnails in the desktop's shared thumbnail cache
# (readable by the user alone, named and marked as other programs expect), Page Down shows the
# next page read ahead, and the next start shows the first page from the cache: with the
# photographs' contents wiped (size and time kept), the pictures are still there.
source "$(dirname "$0")/lib.sh"

ACQ=$WORK/acq/
PICTURES=$WORK/pictures/
CACHE=$HOME/.cache/thumbnails/large
mkdir -p "$ACQ" "$PICTURES"
convert -size 2560x1600 plasma:fractal -quality 90 "$WORK/a.jpg"
convert -size 2560x1600 gradient:navy-orange -quality 90 "$WORK/b.jpg"
for n in $(seq -w 1 16); do
    if [ "$n" -le 08 ]; then cp "$WORK/a.jpg" "${PICTURES}photo$n.jpg"; else cp "$WORK/b.jpg" "${PICTURES}photo$n.jpg"; fi
done
touch -d '-1 minute' "$PICTURES"*.jpg # not changed within the second they are shown in
settings "BASD=$ACQ" BADM=0 MKDR=0 CKTD=0 SUTW=0 EXTM=1 DSDF=0 DSPM=1
CELLS="740x105+200+80" # the pictures of the first row of cells, in the window

cells_of() { # crops screenshot $1 to the first row of cells as $1-cells.png
    eval "$(xdotool getwindowgeometry --shell "$WIN")"
    local size=${CELLS%%+*} offset=${CELLS#*+}
    convert "$SHOTS/$1.png" -crop "$size+$((X + ${offset%%+*}))+$((Y + ${offset#*+}))" +repage \
        "$SHOTS/$1-cells.png"
}
psnr() { compare -metric PSNR "$SHOTS/$1-cells.png" "$SHOTS/$2-cells.png" null: 2>&1 || true; }

start_orva "$PICTURES"
WIN=$(main_window 30) || fail "the main window did not appear"
# Both pages: the first drawn, the second read ahead, each picture's thumbnail written.
wait_for 30 sh -c "[ \$(ls '$CACHE' 2>/dev/null | grep -c '\.png$') -eq 16 ]" ||
    fail "16 thumbnails expected in the cache, found: $(ls "$CACHE" 2>/dev/null | wc -l)"
sleep 1
shot first
cells_of first
for file in "$CACHE"/*.png; do
    [ "$(stat -c %a "$file")" = 600 ] || fail "$file is not readable by the user alone"
done
uri="file://${PICTURES}photo01.jpg"
thumbnail="$CACHE/$(printf %s "$uri" | md5sum | cut -d' ' -f1).png"
[ -f "$thumbnail" ] || fail "no thumbnail named by the MD5 of $uri"
identify -verbose "$thumbnail" | grep -q "Thumb::URI: $uri" || fail "$thumbnail does not name $uri"
mtime=$(stat -c %Y "${PICTURES}photo01.jpg")
identify -verbose "$thumbnail" | grep -q "Thumb::MTime: $mtime" || fail "$thumbnail has no Thumb::MTime $mtime"

keys_to "$WIN" Next
sleep 1
shot second
cells_of second
p=$(psnr first second)
awk -v p="$p" 'BEGIN { exit !(p != "inf" && p + 0 < 20) }' || fail "Page Down did not show the next page (PSNR $p)"

keys_to "$WIN" alt+f Up Return
wait_for 10 sh -c "! kill -0 $ORVA_PID 2>/dev/null" || fail "the program did not end"
ORVA_PID=
# Only the cache can bring the pictures back now.
for file in "$PICTURES"*.jpg; do
    size=$(stat -c %s "$file")
    cp -p "$file" "$WORK/stamp"
    head -c "$size" /dev/zero >"$file"
    touch -r "$WORK/stamp" "$file"
done
start_orva "$PICTURES"
WIN=$(main_window 30) || fail "the main window did not appear again"
sleep 2
shot again
cells_of again
p=$(psnr first again)
echo "e2e: the first page from the cache against the one decoded: PSNR $p"
awk -v p="$p" 'BEGIN { exit !(p == "inf" || p + 0 >= 28) }' ||
    fail "the first page was not shown from the shared thumbnails (PSNR $p)"
