#!/usr/bin/env bash
# Blank pages set aside: a duplex run of paper whose backs are blank (the tests' fault driver),
# with blank pages moved to the trash in the settings. Only the fronts are stored, under
# consecutive names; the backs are in the desktop's trash, which can put them back; and the end
# of the run says how many went there.
source "$(dirname "$0")/lib.sh"
accessibility

FAULT_DIR=$PROGRAM_SOURCE/../tests/fault_sane
[ -f "$FAULT_DIR/libsane-orvanafault.so.1" ] || fail "the fault driver is not built in $FAULT_DIR"
printf 'orvanafault\n' >"$WORK/sane/dll.conf"
export LD_LIBRARY_PATH=$FAULT_DIR

ACQ=$WORK/acq/
mkdir -p "$ACQ"
settings "BASD=$ACQ" BADM=0 MKDR=0 SVMD=1 NTOP=IMG SCNN=4 CKTD=0 SUTW=0 EXTM=1 DSDF=0 CLBL=1
TITLE='Fault \(orvanafault:duplex\)'
echo 'Fault (orvanafault:duplex)' >"$WORK/config/orvana/twain-default-source"

start_orva "$ACQ"
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 1
click_in "$WIN" 22 44
SRC=$(window_named "$TITLE" 20) || fail "the source window did not appear"
sleep 0.5
# Both sides from the feeder (the last of the driver's sources), three sheets of paper.
keys_to "$SRC" alt+o End
keys_to "$SRC" alt+p
ax press "$TITLE" "Paper with blank backs" || fail "the driver's paper option cannot be pressed"
sleep 0.5
shot options
keys_to "$SRC" alt+s
wait_for 20 test -e "${ACQ}ORVA_TMP.005" || fail "the six pages were not scanned: $(ls "$ACQ")"
sleep 0.5
keys_to "$SRC" alt+c
BOX=$(message_box 20 "$WIN") || fail "the end of the run said nothing"
ax has '^Orvana' '白紙のページが 3 枚あったため、保存せずにごみ箱に移しました。' ||
    fail "the end of the run does not say how many blank pages went to the trash"
shot told
keys_to "$BOX" Return

wait_for 20 test -e "${ACQ}IMG0003.jpg" || fail "the fronts were not stored: $(ls "$ACQ")"
sleep 1
[ "$(ls "$ACQ" | tr '\n' ' ')" = "IMG0001.jpg IMG0002.jpg IMG0003.jpg " ] ||
    fail "the acquisition folder holds $(ls "$ACQ" | tr '\n' ' ')"
TRASH=$WORK/data/Trash
[ "$(ls "$TRASH/files" | tr '\n' ' ')" = "IMG白紙002.bmp IMG白紙004.bmp IMG白紙006.bmp " ] ||
    fail "the trash holds $(ls "$TRASH/files" 2>/dev/null | tr '\n' ' ')"
grep -q "^Path=.*acq/IMG%E7%99%BD%E7%B4%99002.bmp$" "$TRASH/info/IMG白紙002.bmp.trashinfo" ||
    fail "the trash does not know where the page came from: $(cat "$TRASH/info/"*002*)"
echo "e2e: a duplex run of paper with blank backs stored its three fronts and put its three backs in the trash"
