#!/usr/bin/env bash
# A user shows a folder of three photographs, chooses File → make a PDF of the folder's pictures,
# gives the file's name in the save dialog and is told it was made: the document holds the three
# pictures in name order, each JPEG as it stands.
source "$(dirname "$0")/lib.sh"
for tool in pdfinfo pdfimages pdftoppm; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is not installed; skipping" >&2; exit 77; }
done

PICTURES=$WORK/pictures/
mkdir -p "$PICTURES" "$WORK/acq"
convert -size 400x300 xc:'#e01010' "${PICTURES}a.jpg"
convert -size 400x300 xc:'#10e010' "${PICTURES}b.jpg"
convert -size 400x300 xc:'#1010e0' "${PICTURES}c.jpg"
settings "BASD=$WORK/acq/" BADM=0 MKDR=0 CKTD=0 SUTW=0 EXTM=1 DSDF=0 PDTX=0

start_orva "$PICTURES"
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 1.5
keys_to "$WIN" alt+f Up Up Up Up Up Return
SAVE=$(window_named '^PDFの作成$' 10) || fail "the save dialog did not open"
sleep 0.5
shot save_dialog
keys_to "$SAVE" ctrl+a
xdotool type --delay 20 "$WORK/book.pdf"
xdotool key Return
BOX=$(message_box 20 "$WIN") || fail "the user was not told the PDF was made"
sleep 0.5
shot made
keys_to "$BOX" Return
[ "$(pdfinfo "$WORK/book.pdf" | sed -n 's/^Pages: *//p')" = 3 ] || fail "the PDF does not hold three pages"
pdfimages -j "$WORK/book.pdf" "$WORK/page"
for i in 0 1 2; do
    name=$(printf '%s' abc | cut -c$((i + 1)))
    cmp -s "$WORK/page-00$i.jpg" "${PICTURES}$name.jpg" || fail "page $((i + 1)) is not $name.jpg as it stands"
done
pdftoppm -f 2 -l 2 -r 20 -png -singlefile "$WORK/book.pdf" "$SHOTS/page2"
green=$(convert "$SHOTS/page2.png" -fx '(g>0.75 && r<0.2 && b<0.2) ? 1 : 0' -format '%[fx:mean]' info:)
awk -v g="$green" 'BEGIN { exit !(g > 0.5) }' || fail "page 2 is not the green picture ($green)"
echo "e2e: the folder's three pictures made book.pdf in name order"
