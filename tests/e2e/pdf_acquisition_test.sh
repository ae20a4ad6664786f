#!/usr/bin/env bash
# A user chooses PDF with text recognition in the settings dialog and acquires three pages: the
# acquisition folder then holds one PDF of three pages, each the JPEG page as it was stored, and
# the pages are gone. The virtual scanner's pages hold colour bars and a bar for their number, no
# words: recognition finds nothing it is sure of and lays no junk words over them. The
# document's first page is rendered to be looked at.
source "$(dirname "$0")/lib.sh"
need_text_data
for tool in pdfinfo pdfimages pdftoppm pdffonts; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is not installed; skipping" >&2; exit 77; }
done

ACQ=$WORK/acq/
mkdir -p "$ACQ"
settings "BASD=$ACQ" BADM=0 MKDR=0 SVMD=1 NTOP=DOC SCNN=3 CKTD=0 SUTW=0 EXTM=1 DSDF=0 PDTX=0

start_orva
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 1
choose_pdf "$WIN" words
grep -q '^SVMD ,  5 ' "$PROG/ORVA.CNF" || fail "OK did not save PDF as the format"
grep -q '^PDTX ,  1 ' "$PROG/ORVA.CNF" || fail "OK did not save the text recognition"

scan_pages "$WIN" 3 "$ACQ"
wait_for 60 test -e "${ACQ}DOC001.pdf" || fail "no PDF was made: $(ls -A "$ACQ" | tr '\n' ' ')"
wait_for 10 sh -c "[ \"\$(ls '$ACQ')\" = DOC001.pdf ]" ||
    fail "the pages stayed beside the PDF: $(ls -A "$ACQ" | tr '\n' ' ')"
sleep 1
shot acquired
PDF=${ACQ}DOC001.pdf
[ "$(pdfinfo "$PDF" | sed -n 's/^Pages: *//p')" = 3 ] || fail "the PDF does not hold three pages"
[ "$(pdfimages -list "$PDF" | tail -n +3 | awk '{print $9}' | sort -u)" = jpeg ] ||
    fail "the pages are not embedded as JPEG: $(pdfimages -list "$PDF")"
# Words would lie over the pictures in a font of their own; shapes read without confidence none.
! pdffonts "$PDF" | grep -q GlyphLessFont || fail "the pages of shapes carry words: $(pdftotext "$PDF" - | head -3)"
[ "$(pdfinfo "$PDF" | sed -n 's/^Title: *//p')" = DOC001.pdf ] || fail "the document is not titled with its name"
pdftoppm -f 1 -l 1 -r 30 -png "$PDF" "$SHOTS/pdf_page"
spread=$(convert "$SHOTS"/pdf_page*.png -format '%[fx:standard_deviation]' info:)
awk -v s="$spread" 'BEGIN { exit !(s > 0.01) }' || fail "the PDF's first page is blank"
echo "e2e: three pages acquired as one PDF, DOC001.pdf"
