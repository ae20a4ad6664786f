#!/usr/bin/env bash
# A user sorts a folder with the mouse: drags pictures onto copy, move and the trash, renames one,
# makes a folder, chooses the display folder, opens a picture in an editor and makes thumbnails.
# Copied and moved files keep their names byte for byte (one in mixed case, one not UTF-8), and
# the rename dialog, with the shipped settings, keeps the name as typed.
source "$(dirname "$0")/lib.sh"

PICTURES=$WORK/pictures/
DEST=$WORK/photos/
mkdir -p "$PICTURES" "$DEST" "$WORK/acq"
LATIN=$'b\xe9.jpg' # an old archive's Latin-1 name
convert -size 640x480 xc:'#e01010' "${PICTURES}Autumn.jpg"
convert -size 640x480 xc:'#10e010' "${PICTURES}$LATIN"
convert -size 640x480 xc:'#1010e0' "${PICTURES}c.jpg"
cat >"$WORK/editor.sh" <<'SH'
#!/bin/sh
printf '%s\n' "$@" >"$(dirname "$0")/editor.args"
SH
chmod +x "$WORK/editor.sh"
settings "BASD=$WORK/acq/" BADM=0 MKDR=0 CKTD=0 SUTW=0 EXTM=1 DSDF=0 "FTRD=$DEST" \
    "LEXE=$WORK/editor.sh" UTNM=1 UTNT=1 "UTNP=$WORK/Snaplet/SNAPLET"

# Places in the main window (960 x 640 at the design size).
CELL0="290 145"
CELL1="477 145"
COPY="161 130"
MOVE="98 130"
TRASH="33 88"
EDITOR1="33 149"
MAKE_FOLDER="161 94"
FOLDER_BUTTON="226 34"

start_orva "$PICTURES"
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 1.5

drag "$WIN" $CELL0 $COPY
[ -f "${DEST}Autumn.jpg" ] || fail "Autumn.jpg dropped on copy is not in the tray's folder: $(ls "$DEST")"
[ -f "${PICTURES}Autumn.jpg" ] || fail "the copied picture left its folder"

drag "$WIN" $CELL1 $MOVE
[ -f "${DEST}$LATIN" ] && [ ! -e "${PICTURES}$LATIN" ] ||
    fail "the Latin-1 name was not moved as it is: $(ls "$DEST" | od -c | head -3)"

# c.jpg is now the second cell; the trash asks first.
drag "$WIN" $CELL1 $TRASH
BOX=$(window_named '^Orvana ファイル削除確認$' 10) || fail "the trash did not ask"
keys_to "$BOX" alt+y
sleep 1
[ ! -e "${PICTURES}c.jpg" ] && [ -f "$XDG_DATA_HOME/Trash/files/c.jpg" ] &&
    grep -q "^Path=${PICTURES}c.jpg$" "$XDG_DATA_HOME/Trash/info/c.jpg.trashinfo" ||
    fail "c.jpg is not in the trash with its information"

drag "$WIN" $CELL0 $EDITOR1
wait_for 10 test -f "$WORK/editor.args" || fail "the editor was not started"
[ "$(cat "$WORK/editor.args")" = "${PICTURES}Autumn.jpg" ] || fail "the editor got $(cat "$WORK/editor.args")"

# Rename Autumn.jpg: select it, then File > rename (third item from the bottom).
click_in "$WIN" $CELL0
keys_to "$WIN" alt+f Up Up Up Return
REN=$(window_named '^Orvana Rename$' 10) || fail "the rename dialog did not open"
shot rename
keys_to "$REN" ctrl+a k i t e space h o l i d a y Return
sleep 1
[ -f "${PICTURES}kite holiday.jpg" ] && [ ! -e "${PICTURES}Autumn.jpg" ] ||
    fail "Autumn.jpg was not renamed to 'kite holiday.jpg': $(ls "$PICTURES")"

click_in "$WIN" $MAKE_FOLDER
MD=$(window_named '^フォルダー作成$' 10) || fail "the new-folder dialog did not open"
keys_to "$MD" n e w d i r Tab space
sleep 1
[ -d "${DEST}newdir" ] || fail "the new folder was not made in the tray's folder"

# The display folder dialog opens on the pictures; the folder above them in the list is photos.
click_in "$WIN" $FOLDER_BUTTON
GP=$(window_named '表示Path指定' 10) || fail "the display folder dialog did not open"
shot folder_dialog
keys_to "$GP" Up Return
sleep 2
shot dest_shown
green=$(convert "$SHOTS/dest_shown.png" -crop 900x600+300+240 \
    -fx '(g>0.75 && r<0.2 && b<0.2) ? 1 : 0' -format '%[fx:mean]' info:)
awk -v g="$green" 'BEGIN { exit !(g > 0.02) }' || fail "the chosen folder is not shown (green $green)"

# Thumbnails of the display folder, from the View menu's last item.
keys_to "$WIN" alt+v Up Return
wait_for 15 sh -c "ls '${DEST}SNAPTN' | grep -q ." || fail "no thumbnails were made"
grep -q '^TNDN,SNAPTN' "${DEST}SNAPLET.INF" || fail "SNAPLET.INF does not name the thumbnails"
echo "e2e: copy, move, trash, editor, rename, new folder, folder choice and thumbnails work"
