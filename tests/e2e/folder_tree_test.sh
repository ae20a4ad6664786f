#!/usr/bin/env bash
# The display-folder dialog opens on the folder on show, at once: its row chosen and in view,
# its name from the first letter, and "/" is a row that shows chosen when chosen.
source "$(dirname "$0")/lib.sh"

PICTURES=$WORK/pictures/
mkdir -p "$PICTURES" "$WORK/acq"
convert -size 160x120 xc:'#ff0000' "${PICTURES}p00.jpg"
settings "BASD=$WORK/acq/" BADM=0 MKDR=0 CKTD=0 SUTW=0 EXTM=1 DSDF=0 UTNM=0 UTNT=0
FOLDER_BUTTON="226 34"

start_orva "$PICTURES"
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 1.5
click_in "$WIN" $FOLDER_BUTTON
GP=$(window_named '表示Path指定' 10) || fail "the display folder dialog did not open"
sleep 1
shot folder_dialog

# The chosen row is drawn in the highlight colour inside the dialog's tree.
chosen() {
    eval "$(xdotool getwindowgeometry --shell "$GP")"
    convert "$SHOTS/$1.png" -crop "${WIDTH}x${HEIGHT}+$X+$Y" \
        -fx '(b>0.6 && r<0.35 && g>0.4 && g<0.7) ? 1 : 0' -format '%[fx:mean]' info:
}
share=$(chosen folder_dialog)
awk -v s="$share" 'BEGIN { exit !(s > 0.005) }' ||
    fail "the folder on show is not in view in the dialog (highlight share $share)"

# "/" chosen from the drive list shows chosen too.
keys_to "$GP" Home
sleep 0.5
shot root_chosen
share=$(chosen root_chosen)
awk -v s="$share" 'BEGIN { exit !(s > 0.005) }' || fail "\"/\" does not show chosen ($share)"
echo "e2e: the folder dialog opens on the folder on show, in view"
