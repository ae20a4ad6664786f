#!/usr/bin/env bash
# Scanning through SANE, whose drivers run in the host process: a page from SANE's test device is
# stored; then a driver that hangs in its second page: the first page is stored, the source
# window tells what happened within the limit, and the program answers throughout.
source "$(dirname "$0")/lib.sh"

FAULT_DIR=$PROGRAM_SOURCE/../tests/fault_sane
[ -f "$FAULT_DIR/libsane-orvanafault.so.1" ] || fail "the fault driver is not built in $FAULT_DIR"
[ -s /etc/sane.d/test.conf ] || { echo "e2e: SANE's test backend is not configured; skipping" >&2; exit 77; }
printf 'test\norvanafault\n' >"$WORK/sane/dll.conf"
cp /etc/sane.d/test.conf "$WORK/sane/test.conf"
export LD_LIBRARY_PATH=$FAULT_DIR ORVANA_SANE_HOST_LIMIT_MS=2000

ACQ=$WORK/acq/
mkdir -p "$ACQ"
settings "BASD=$ACQ" BADM=0 MKDR=0 SVMD=0 NTOP=IMG SCNN=4 CKTD=0 SUTW=0 EXTM=1 DSDF=0
TWAIN_BUTTON="22 44"

# Scans with the source window of $1 (its title), pressing Scan $2 times, and closes it.
scan_with() {
    local title=$1 times=$2 i
    echo "$title" >"$WORK/config/orvana/twain-default-source"
    start_orva "$ACQ"
    WIN=$(main_window 30) || fail "the main window did not appear"
    sleep 1
    click_in "$WIN" $TWAIN_BUTTON
    SRC=$(window_named "$(printf '%s' "$title" | sed 's/[()]/\\&/g')" 20) ||
        fail "the source window of $title did not appear"
    sleep 0.5
    # Scan and Close sit side by side at the foot of the window, Close at the right; the
    # window grows with its status line.
    TOLD=0
    for i in $(seq 1 "$times"); do
        eval "$(xdotool getwindowgeometry --shell "$SRC")"
        click_in "$SRC" $((WIDTH - 130)) $((HEIGHT - 20))
        sleep 3
        shot "scan_$i"
        # A batch that failed is told in a box as well, which waits for OK.
        if BOX=$(message_box 2 "$WIN"); then
            TOLD=$((TOLD + 1))
            keys_to "$BOX" Return
            sleep 0.5
        fi
    done
    eval "$(xdotool getwindowgeometry --shell "$SRC")"
    click_in "$SRC" $((WIDTH - 45)) $((HEIGHT - 20))
    sleep 1
    shot "closed_$title"
}

scan_with 'Noname frontend-tester (test:0)' 1
wait_for 20 sh -c "ls '$ACQ' | grep -q '^IMG0001'" || fail "no page from the SANE test device"
kill "$ORVA_PID"; wait "$ORVA_PID" 2>/dev/null || true; ORVA_PID=

scan_with 'Fault (orvanafault:hang-read)' 2
wait_for 20 sh -c "ls '$ACQ' | grep -q '^IMG0002'" || fail "the page before the hang was not stored"
[ "$(ls "$ACQ" | grep -c '^IMG')" = 2 ] || fail "the acquisition folder holds $(ls "$ACQ")"
[ "$TOLD" = 1 ] || fail "the hanging driver was told in $TOLD boxes"
shot after_hang
echo "e2e: a page through SANE's test device, and a hanging driver cost one page and a message"
