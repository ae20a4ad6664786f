#!/usr/bin/env bash
# A folder whose companion thumbnail folder SNAPTN is a link to another folder: a user closes the
# adjustment dialog on a picture, drags another onto the trash and renames a third, and the other
# folder stays byte for byte as it was, while the pictures themselves go where the user sent them.
source "$(dirname "$0")/lib.sh"

PICTURES=$WORK/pictures/
OTHER=$WORK/other/
mkdir -p "$PICTURES" "$OTHER" "$WORK/acq"
convert -size 320x240 xc:'#e01010' BMP3:"${PICTURES}a.bmp"
convert -size 320x240 xc:'#10e010' "${PICTURES}b.jpg"
convert -size 320x240 xc:'#1010e0' "${PICTURES}c.jpg"
# The other folder holds files of the same names: what a thumbnail action would reach.
convert -size 640x480 plasma:fractal BMP3:"${OTHER}a.bmp"
convert -size 640x480 plasma:fractal "${OTHER}b.jpg"
convert -size 640x480 plasma:fractal "${OTHER}c.jpg"
ln -s ../other "${PICTURES}SNAPTN"
printf 'TNDN,SNAPTN\r\n' >"${PICTURES}SNAPLET.INF"
(cd "$OTHER" && md5sum a.bmp b.jpg c.jpg >"$WORK/other.md5")
settings "BASD=$WORK/acq/" BADM=0 MKDR=0 CKTD=0 SUTW=0 EXTM=1 DSDF=0 UTNM=0 UTNT=1 CNFP=1 CNFD=0

CELL0="290 145"
CELL1="477 145"
TRASH="33 88"
ADJUST="33 330"

start_orva "$PICTURES"
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 1.5

# The adjustment dialog on a.bmp, closed with "戻る" without a save: past the three page buttons,
# the six turns and the two saves.
drag "$WIN" $CELL0 $ADJUST
DLG=$(window_named '^画像調整Orvana$' 10) || fail "the adjustment dialog did not open"
sleep 1
keys_to "$DLG" Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab space
wait_for 10 sh -c "! xdotool search --onlyvisible --name '^画像調整Orvana$'" ||
    fail "the dialog did not close"
sleep 1
[ -f "${PICTURES}a.bmp" ] || fail "a.bmp is gone after the dialog closed"

drag "$WIN" $CELL1 $TRASH
BOX=$(window_named '^Orvana ファイル削除確認$' 10) || fail "the trash did not ask"
keys_to "$BOX" alt+y
sleep 1
[ ! -e "${PICTURES}b.jpg" ] && [ -f "$XDG_DATA_HOME/Trash/files/b.jpg" ] ||
    fail "b.jpg is not in the trash"
[ "$(ls "$XDG_DATA_HOME/Trash/files" | wc -l)" = 1 ] ||
    fail "the trash holds more than b.jpg: $(ls "$XDG_DATA_HOME/Trash/files")"

# c.jpg is now the second cell: select it, then File > rename (third item from the bottom).
click_in "$WIN" $CELL1
keys_to "$WIN" alt+f Up Up Up Return
REN=$(window_named '^Orvana Rename$' 10) || fail "the rename dialog did not open"
keys_to "$REN" ctrl+a r e n a m e d Return
sleep 1
[ ! -e "${PICTURES}c.jpg" ] && ls "$PICTURES" | grep -qix 'renamed.jpg' || fail "c.jpg was not renamed"
shot after

(cd "$OTHER" && md5sum -c --quiet "$WORK/other.md5") || fail "the other folder changed"
[ "$(ls "$OTHER" | wc -l)" = 3 ] || fail "the other folder holds $(ls "$OTHER")"
echo "e2e: a linked thumbnail folder leaves the folder it points to untouched"
