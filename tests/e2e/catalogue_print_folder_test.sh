#!/usr/bin/env bash
# A user opens the catalogue print from the menu, shows another folder in the main window, then
# prints: the sheet holds the pictures of the folder the dialog lists. A page past the last is
# told instead of asking for a file.
source "$(dirname "$0")/lib.sh"
command -v pdftoppm >/dev/null || { echo "e2e: pdftoppm is not installed; skipping" >&2; exit 77; }

PICTURES=$WORK/pictures/
OTHER=$WORK/other/
mkdir -p "$PICTURES" "$OTHER" "$WORK/acq"
convert -size 400x300 xc:'#10e010' "${PICTURES}a.jpg"
convert -size 400x300 xc:'#e01010' "${OTHER}b.jpg"
settings "BASD=$WORK/acq/" BADM=0 MKDR=0 CKTD=0 SUTW=0 EXTM=1 DSDF=0 MPRX=1 MPRY=1 MPFN=0 \
    MPPA=1 MPPG=0
FOLDER_BOX="520 34"
PRINT_BUTTON="332 476" # 印刷実行, in the dialog

start_orva "$PICTURES"
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 1.5
keys_to "$WIN" alt+f Up Up Up Up Up Up Return
MPRT=$(window_named '^カタログ印刷Orvana$' 10) || fail "the catalogue print did not open"
xdotool windowmove "$MPRT" 0 500 # below the folder box
sleep 1
shot catalogue_print

click_in "$WIN" $FOLDER_BOX
xdotool key ctrl+a
xdotool type --delay 20 "$OTHER"
xdotool key Return
sleep 1.5

click_in "$MPRT" $PRINT_BUTTON
print_to_pdf "$WORK/printed.pdf"
[ -z "$(message_box 2 "$WIN" "$MPRT" || true)" ] || { shot told; fail "the print told of a failure"; }
pdftoppm -r 50 -png -singlefile "$WORK/printed.pdf" "$WORK/page"
green=$(convert "$WORK/page.png" -fx '(g>0.75 && r<0.2 && b<0.2) ? 1 : 0' -format '%[fx:mean]' info:)
red=$(convert "$WORK/page.png" -fx '(r>0.75 && g<0.2 && b<0.2) ? 1 : 0' -format '%[fx:mean]' info:)
awk -v g="$green" -v r="$red" 'BEGIN { exit !(g > 0.1 && r == 0) }' ||
    fail "the sheet is not the listed folder's (green $green, red $red)"
echo "e2e: the catalogue print prints the folder it lists (green share $green)"
