#!/usr/bin/env bash
# The program is killed while it makes the PDF of ten pages. At the next start every page is
# there once: in the PDF when it was complete, else as the picture files, and the user is told.
source "$(dirname "$0")/lib.sh"
command -v pdfinfo >/dev/null || { echo "e2e: pdfinfo is not installed; skipping" >&2; exit 77; }
need_text_data

ACQ=$WORK/acq/
NOTES=$XDG_DATA_HOME/orvana/runs
mkdir -p "$ACQ"
# With text recognition the step takes long enough to be killed in.
settings "BASD=$ACQ" BADM=0 MKDR=0 SVMD=5 NTOP=DOC SCNN=3 CKTD=0 SUTW=0 EXTM=1 DSDF=0 PDTX=1

start_orva
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 1
scan_pages "$WIN" 10 "$ACQ"
# Looked for often: the step lasts a second or two.
noted=
for _ in $(seq 3000); do
    compgen -G "$NOTES/*.document" >/dev/null && { noted=yes; break; }
    sleep 0.02
done
[ -n "$noted" ] || fail "the PDF step left no note: $(ls -A "$ACQ" | tr '\n' ' ')"
kill -9 "$ORVA_PID"
wait "$ORVA_PID" 2>/dev/null || true
ORVA_PID=
ls -A "$ACQ" >"$WORK/after-kill"

start_orva
BOX=$(message_box 15 || true)
if [ -n "$BOX" ]; then
    sleep 0.5
    shot told
    keys_to "$BOX" Return
fi
main_window 30 >/dev/null || fail "the main window did not appear after the kill"
sleep 1
shot restarted
pictures=$(ls "$ACQ" | grep -c '^DOC0\(0[1-9]\|10\)\.jpg$' || true)
if [ -e "${ACQ}DOC001.pdf" ]; then
    [ "$pictures" -eq 0 ] || fail "pages both in the PDF and as pictures: $(ls "$ACQ" | tr '\n' ' ')"
    [ "$(pdfinfo "${ACQ}DOC001.pdf" | sed -n 's/^Pages: *//p')" = 10 ] ||
        fail "the PDF does not hold the ten pages"
    outcome="in the PDF"
else
    [ "$pictures" -eq 10 ] || fail "pages lost: $(ls -A "$ACQ" | tr '\n' ' ')"
    [ -n "$BOX" ] || fail "the user was not told that the PDF was not made"
    outcome="as pictures, the user told"
fi
[ -z "$(ls -A "$ACQ" | grep -v '^DOC0' || true)" ] || fail "leftovers: $(ls -A "$ACQ" | tr '\n' ' ')"
[ -z "$(ls "$NOTES" | grep '\.document$' || true)" ] || fail "the note of the step is still there"
echo "e2e: killed during the PDF step ($(tr '\n' ' ' <"$WORK/after-kill")), every page kept $outcome"
