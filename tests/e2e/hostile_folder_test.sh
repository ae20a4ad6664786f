#!/usr/bin/env bash
# A user opens a folder where FIFOs stand in for the companion's note and for a picture: the window
# opens and shows the picture at once. The folder's PDF is given a full volume's document to
# replace: the user is told why it was not made and the document stays as it was. With a prefix
# that leads out of the acquisition folder, the scan button says so and nothing is scanned.
source "$(dirname "$0")/lib.sh"

PICTURES=$WORK/pictures/
mkdir -p "$PICTURES" "$WORK/acq"
convert -size 400x300 xc:'#e01010' "${PICTURES}a.jpg"
mkfifo "${PICTURES}SNAPLET.INF" "${PICTURES}b.jpg"
settings "BASD=$WORK/acq/" BADM=0 MKDR=0 CKTD=0 SUTW=0 EXTM=1 DSDF=0 PDTX=0 UTNT=1 "NTOP=../x"

started=$SECONDS
start_orva "$PICTURES"
WIN=$(main_window 30) || fail "the main window did not appear over a folder with FIFOs"
[ $((SECONDS - started)) -lt 15 ] || fail "the main window took $((SECONDS - started)) s to appear"
sleep 1.5
shot fifo_folder
red=$(convert "$SHOTS/fifo_folder.png" -fx '(r>0.75 && g<0.2 && b<0.2) ? 1 : 0' -format '%[fx:mean]' info:)
awk -v r="$red" 'BEGIN { exit !(r > 0.01) }' || fail "the picture beside the FIFOs is not shown"
echo "e2e: a folder with FIFOs for its note and a picture opens at once"

# A document that does not fit: only where a volume of its own can be mounted (root).
VOLUME=$WORK/volume
mkdir -p "$VOLUME"
if [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=256k tmpfs "$VOLUME" 2>/dev/null; then
    trap 'status=$?; umount -l "$VOLUME" 2>/dev/null; set +e; (exit $status); e2e_cleanup' EXIT
    printf '%%PDF-1.4\n%% an older document\n%%%%EOF\n' >"$VOLUME/book.pdf"
    old=$(md5sum <"$VOLUME/book.pdf")
    head -c 1M /dev/zero >"$VOLUME/filler" 2>/dev/null || true
    keys_to "$WIN" alt+f Up Up Up Up Up Return
    SAVE=$(window_named '^PDFの作成$' 10) || fail "the save dialog did not open"
    sleep 0.5
    keys_to "$SAVE" ctrl+a
    xdotool type --delay 20 "$VOLUME/book.pdf"
    xdotool key Return
    # The file dialog asks before it replaces the file: its question has the focus.
    wait_for 10 sh -c "[ \$(xdotool search --onlyvisible --name '^PDFの作成$' | wc -l) -ge 2 ]" ||
        fail "the replacement was not asked"
    xdotool key alt+y
    BOX=$(message_box 20 "$WIN") || fail "the user was not told the PDF was not made"
    sleep 0.5
    shot volume_full
    keys_to "$BOX" Return
    [ "$(md5sum <"$VOLUME/book.pdf")" = "$old" ] || fail "the older document changed"
    [ "$(ls -A "$VOLUME" | tr '\n' ' ')" = "book.pdf filler " ] ||
        fail "the full volume holds more: $(ls -A "$VOLUME")"
    [ -z "$(find "$WORK" -name '*.pdf' ! -path "$VOLUME/*")" ] ||
        fail "a PDF was made elsewhere: $(find "$WORK" -name '*.pdf' ! -path "$VOLUME/*")"
    echo "e2e: a PDF that does not fit is told and replaces nothing"
else
    echo "e2e: no right to mount a volume; the full volume is not tried"
fi

# The prefix leads out of the acquisition folder: told at the scan button, nothing scanned.
click_in "$WIN" 22 44
BOX=$(message_box 20 "$WIN") || fail "the prefix was not refused"
sleep 0.5
shot bad_prefix
! xdotool search --onlyvisible --name '^仮想スキャナー$' >/dev/null 2>&1 ||
    fail "the scanner's window opened"
keys_to "$BOX" Return
sleep 0.5
[ -z "$(ls -A "$WORK/acq")" ] && ! ls "$WORK" | grep -q '^x0' ||
    fail "pages were written: $(ls -A "$WORK/acq") $(ls "$WORK")"
echo "e2e: a prefix leading out of the folder stops the scan before it starts"
