#!/usr/bin/env bash
# A user drops a picture on the command tray's adjust target, turns it right with the keyboard,
# saves it over the file and closes the dialog; the file and the catalogue cell show the turned
# picture.
source "$(dirname "$0")/lib.sh"

PICTURES=$WORK/pictures/
mkdir -p "$PICTURES" "$WORK/acq"
# Red on the left, blue on the right: turned right, red is on top.
convert -size 320x480 xc:'#ff0000' -size 320x480 xc:'#0000ff' +append BMP3:"${PICTURES}a.bmp"
settings "BASD=$WORK/acq/" BADM=0 MKDR=0 CKTD=0 SUTW=0 EXTM=1 DSDF=0 UTNM=0 UTNT=0 CNFP=1 CNFD=0

CELL0="290 145"
ADJUST="33 330"

start_orva "$PICTURES"
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 1.5
drag "$WIN" $CELL0 $ADJUST
DLG=$(window_named '^画像調整Orvana$' 10) || fail "the adjustment dialog did not open"
sleep 1
shot adjust_open
# The page buttons first ("Image", "Color", "Trim"), then the six turns: the first turns right.
keys_to "$DLG" Tab Tab Tab space
sleep 0.5
shot adjust_turned
# Past the other five turns to "上書き保存" (save over); a BMP is saved without a question.
keys_to "$DLG" Tab Tab Tab Tab Tab Tab space
sleep 1
size=$(identify -format '%wx%h' "${PICTURES}a.bmp")
[ "$size" = "480x640" ] || fail "the saved picture is $size, not turned"
top=$(convert "${PICTURES}a.bmp" -crop 1x1+240+100 -format '%[fx:int(255*r)],%[fx:int(255*b)]' info:)
bottom=$(convert "${PICTURES}a.bmp" -crop 1x1+240+540 -format '%[fx:int(255*r)],%[fx:int(255*b)]' info:)
[ "$top" = "255,0" ] && [ "$bottom" = "0,255" ] || fail "turned wrongly: top $top, bottom $bottom"
# "別名保存" (save as) offers the name as the file has it: accepted, it is the file itself, which
# the file dialog asks about, and it is saved over, not beside it as "a.BMP".
before=$(xdotool search --onlyvisible --name . | sort)
keys_to "$DLG" Tab space
SAVE=
for _ in $(seq 50); do
    SAVE=$(comm -13 <(echo "$before") <(xdotool search --onlyvisible --name . | sort) | head -n 1)
    [ -n "$SAVE" ] && break
    sleep 0.2
done
[ -n "$SAVE" ] || fail "the save dialog did not open"
sleep 1
shot save_as
keys_to "$SAVE" Return
sleep 1
shot save_as_asked
xdotool key alt+y
sleep 1.5
[ ! -e "${PICTURES}a.BMP" ] || fail "save as wrote a.BMP beside a.bmp"
# On to "戻る", which closes the dialog.
keys_to "$DLG" Tab space
wait_for 10 sh -c "! xdotool search --onlyvisible --name '^画像調整Orvana$'" ||
    fail "the dialog did not close"
sleep 1
shot closed
# The catalogue cell of the saved file is drawn again: red above blue.
eval "$(xdotool getwindowgeometry --shell "$WIN")"
colour_at() {
    convert "$SHOTS/closed.png" -crop "1x1+$((X + $1))+$((Y + $2))" \
        -format '%[fx:int(255*r)],%[fx:int(255*b)]' info:
}
[ "$(colour_at 290 120)" = "255,0" ] && [ "$(colour_at 290 250)" = "0,255" ] ||
    fail "the cell was not redrawn: $(colour_at 290 120) above $(colour_at 290 250)"
echo "e2e: a picture dropped on the adjust target is turned and saved over"
