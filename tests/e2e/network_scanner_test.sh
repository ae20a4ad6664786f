#!/usr/bin/env bash
# A scanner on another machine: a real saned, started here on a loopback address of its own with a
# private configuration (SANE's test backend, slowed so that a batch takes seconds), reached
# through SANE's net backend as a user reaches one. Ten feeder pages; then saned killed after the
# fourth page: the pages before are stored, a message box says so within the limit, the program
# answers (a menu opens), and once saned is back the next ten pages come; then saned stopped
# (SIGSTOP) after the fourth page: the same.
source "$(dirname "$0")/lib.sh"

SANED=$(command -v saned || { [ -x /usr/sbin/saned ] && echo /usr/sbin/saned; } || true)
[ -n "$SANED" ] || { echo "e2e: saned is not installed; skipping" >&2; exit 77; }
[ -s /etc/sane.d/test.conf ] || { echo "e2e: SANE's test backend is not configured; skipping" >&2; exit 77; }

ADDRESS=127.0.0.71
SERVER=$WORK/saned
mkdir -p "$SERVER"
echo test >"$SERVER/dll.conf"
sed -e 's/^read-limit .*/read-limit true/' -e 's/^read-limit-size .*/read-limit-size 8192/' \
    -e 's/^read-delay .*/read-delay true/' -e 's/^read-delay-duration .*/read-delay-duration 5000/' \
    /etc/sane.d/test.conf >"$SERVER/test.conf"
echo 127.0.0.0/8 >"$SERVER/saned.conf"
echo net >"$WORK/sane/dll.conf"
printf '%s\nconnect_timeout = 3\n' "$ADDRESS" >"$WORK/sane/net.conf"
export ORVANA_SANE_HOST_LIMIT_MS=3000

SANED_PID=
start_saned() {
    SANE_CONFIG_DIR=$SERVER "$SANED" -l -e -b "$ADDRESS" 2>>"$WORK/saned.log" &
    SANED_PID=$!
    wait_for 10 bash -c "exec 3<>/dev/tcp/$ADDRESS/6566" || fail "saned did not start on $ADDRESS"
}
# saned and the processes that serve its connections, by their PIDs.
signal_saned() {
    [ -n "$SANED_PID" ] || return 0
    pkill "-$1" -P "$SANED_PID" 2>/dev/null || true
    kill "-$1" "$SANED_PID" 2>/dev/null || true
}
stop_saned() {
    signal_saned CONT
    signal_saned KILL
    [ -n "$SANED_PID" ] && wait "$SANED_PID" 2>/dev/null || true
    SANED_PID=
}
trap 'status=$?; set +e; stop_saned; (exit $status); e2e_cleanup' EXIT

ACQ=$WORK/acq/
mkdir -p "$ACQ"
settings "BASD=$ACQ" BADM=0 MKDR=0 SVMD=0 NTOP=IMG SCNN=4 CKTD=0 SUTW=0 EXTM=1 DSDF=0
echo "net:$ADDRESS:test:0" >"$WORK/config/orvana/twain-default-source"
TITLE="Noname frontend-tester (test:0) on $ADDRESS"
pages() { ls "$ACQ" | grep -c "$1" || true; }
visible_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | wc -l; }

# Opens the source window from the main window, chooses the feeder and presses Scan.
scan_feeder() {
    click_in "$WIN" 22 44
    SRC=$(window_named "$(printf '%s' "$TITLE" | sed 's/[().]/\\&/g')" 30) ||
        { shot no_source_window; fail "the source window of $TITLE did not appear"; }
    sleep 0.5
    # The paper source by its mnemonic, then its second entry: the feeder.
    keys_to "$SRC" alt+o Down
    eval "$(xdotool getwindowgeometry --shell "$SRC")"
    click_in "$SRC" $((WIDTH - 130)) $((HEIGHT - 20))
}
close_source() {
    eval "$(xdotool getwindowgeometry --shell "$SRC")"
    click_in "$SRC" $((WIDTH - 45)) $((HEIGHT - 20))
    wait_for 10 sh -c "! xdotool search --onlyvisible --name '$(printf '%s' "$TITLE" | sed 's/[().]/\\&/g')'" ||
        fail "the source window did not close"
}
# A batch that the server fails in after the fourth page ($1: kill or stop), then ten pages once
# it is back; $2 the pages stored before.
failing_batch() {
    local how=$1 before=$2 began box stored
    scan_feeder
    wait_for 60 test -e "${ACQ}ORVA_TMP.003" || fail "four pages did not come ($how)"
    began=$SECONDS
    if [ "$how" = kill ]; then stop_saned; else signal_saned STOP; fi
    box=$(message_box 15 "$WIN") || fail "no message after saned was ${how}ed"
    echo "e2e: the message came $((SECONDS - began)) s after saned was ${how}ed"
    [ $((SECONDS - began)) -le 8 ] || fail "the message took $((SECONDS - began)) s"
    shot "told_after_$how"
    keys_to "$box" Return
    close_source
    wait_for 20 sh -c "[ \$(ls '$ACQ' | grep -c '^IMG') -ge $((before + 4)) ]" ||
        fail "the pages before saned was ${how}ed were not stored: $(ls "$ACQ" | tr '\n' ' ')"
    stored=$(pages '^IMG')
    [ "$stored" -lt $((before + 10)) ] || fail "all ten pages came although saned was ${how}ed"
    # The program answers: the File menu opens (one more window on the screen), and closes.
    local windows
    windows=$(visible_windows)
    keys_to "$WIN" alt+f
    wait_for 10 sh -c "[ \$(xdotool search --onlyvisible --name '' 2>/dev/null | wc -l) -gt $windows ]" ||
        fail "the File menu did not open after saned was ${how}ed"
    shot "menu_after_$how"
    xdotool key Escape
    wait_for 10 sh -c "[ \$(xdotool search --onlyvisible --name '' 2>/dev/null | wc -l) -le $windows ]" ||
        fail "the File menu did not close"
    stop_saned
    start_saned
    scan_feeder
    wait_for 60 test -e "${ACQ}ORVA_TMP.009" || fail "the batch after saned was back gave no ten pages"
    sleep 1
    close_source
    wait_for 20 sh -c "[ \$(ls '$ACQ' | grep -c '^IMG') -eq $((stored + 10)) ]" ||
        fail "the ten pages after saned was back were not stored: $(ls "$ACQ" | tr '\n' ' ')"
}

start_saned
start_orva "$ACQ"
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 1
scan_feeder
shot scanning
wait_for 60 test -e "${ACQ}ORVA_TMP.009" || fail "ten pages did not come through saned: $(ls "$ACQ" | tr '\n' ' ')"
sleep 1
close_source
wait_for 20 sh -c "[ \$(ls '$ACQ' | grep -c '^IMG') -eq 10 ]" || fail "ten pages were not stored: $(ls "$ACQ" | tr '\n' ' ')"

failing_batch kill 10
failing_batch stop "$(pages '^IMG')"
shot done
echo "e2e: ten pages through saned; killed and stopped mid-batch, the pages before were kept and the next batches came"
