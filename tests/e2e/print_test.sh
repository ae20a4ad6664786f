#!/usr/bin/env bash
# A user drops a picture on the print target, prints it into a PDF file (no printer is installed
# here) and finds it on the paper where the dialog said, at the largest size the paper allows.
source "$(dirname "$0")/lib.sh"
command -v pdftoppm >/dev/null || { echo "e2e: pdftoppm is not installed; skipping" >&2; exit 77; }

PICTURES=$WORK/pictures/
mkdir -p "$PICTURES" "$WORK/acq"
convert -size 640x480 xc:'#10e010' "${PICTURES}a.jpg"
convert -size 1000x500 xc:'#ff0000' "${PICTURES}b.bmp"
settings "BASD=$WORK/acq/" BADM=0 MKDR=0 CKTD=0 SUTW=0 EXTM=1 DSDF=0

CELL1="477 145"
PRINT_TARGET="33 210"
PRINT_BUTTON="75 323" # in the print dialog

start_orva "$PICTURES"
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 1.5
drag "$WIN" $CELL1 $PRINT_TARGET
PRT=$(window_named '^印刷Orvana$' 10) || fail "the print dialog did not open"
sleep 1
shot print_dialog
click_in "$PRT" $PRINT_BUTTON
print_to_pdf "$WORK/printed.pdf"
pdftoppm -r 100 -png -singlefile "$WORK/printed.pdf" "$WORK/page"

# The red picture on the paper: 202.9 x 101.45 mm at the printable area's left edge, centred
# from top to bottom, the area starting 3.53 mm in (Qt's PDF margins).
box=$(convert "$WORK/page.png" -fx '(r>0.8 && g<0.3 && b<0.3) ? 1 : 0' -trim -format '%w %h %X %Y' info:)
read -r w h x y <<<"$box"
mm() { awk -v p="$1" 'BEGIN { printf "%.2f", p * 25.4 / 100 }'; }
echo "e2e: picture at $(mm "${x#+}") $(mm "${y#+}") mm, $(mm "$w") x $(mm "$h") mm"
awk -v w="$(mm "$w")" -v h="$(mm "$h")" -v x="$(mm "${x#+}")" -v y="$(mm "${y#+}")" 'BEGIN {
    ok = (w > 202.4 && w < 203.4 && h > 101.0 && h < 102.0 && x > 3.0 && x < 4.1 &&
          y > 97.2 && y < 98.3)
    exit !ok }' || fail "the picture is not where the dialog put it"
