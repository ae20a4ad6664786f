#!/usr/bin/env bash
# Makes the README's screenshots from the real program under Xvfb, so that they show it as it is:
#   scripts/screenshots.sh build/orvana     (writes docs/main-window.png, docs/virtual-scanner.png
#                                            and docs/settings.png)
# The program is driven as the end-to-end tests drive it (tests/e2e/lib.sh).
set -euo pipefail
DOCS=$(cd "$(dirname "$0")/.." && pwd)/docs
export E2E_SCREEN=1024x768
source "$(dirname "$0")/../tests/e2e/lib.sh" "$(cd "$1" && pwd)"

ACQ=$WORK/Pictures/
mkdir -p "$ACQ"
settings "BASD=$ACQ" BADM=0 MKDR=0 SVMD=1 NTOP=SCAN SCNN=3 CKTD=0 SUTW=0 EXTM=1 DSDF=0
TWAIN_BUTTON="22 44"
SETTINGS_BUTTON="148 44"

# The window of $1 alone, as docs/$2.png.
window_shot() {
    import -window "$1" "$DOCS/$2.png"
    echo "screenshots: docs/$2.png"
}

start_orva
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 1
click_in "$WIN" $TWAIN_BUTTON
SCANNER=$(window_named '^Virtual Scanner$' 20) || fail "the scanner's window did not appear"
keys_to "$SCANNER" Tab
xdotool type 4
sleep 0.5
window_shot "$SCANNER" virtual-scanner
xdotool key Tab space
wait_for 30 test -e "${ACQ}ORVA_TMP.003" || fail "the scanner wrote no four pages"
xdotool key Tab space
wait_for 30 test -e "${ACQ}SCAN004.jpg" || fail "the pages were not named: $(ls "$ACQ")"
sleep 1.5
window_shot "$WIN" main-window
click_in "$WIN" $SETTINGS_BUTTON
SET=$(window_named '^Orvana 設定$' 10) || fail "the settings dialog did not open"
sleep 0.5
window_shot "$SET" settings
