#!/usr/bin/env bash
# While a dialog holds the main window disabled, the window takes nothing: a click, a right
# click, a double click, the wheel and a drag on a catalogue cell leave it exactly as it was.
# Walks every dialog that disables the main window.
source "$(dirname "$0")/lib.sh"

PICTURES=$WORK/pictures/
mkdir -p "$PICTURES" "$WORK/acq"
colours=(ff0000 00c000 0000ff ffff00 ff00ff 00ffff 808080 ff8000 8000ff 008080 800000 004000
    c0c0c0 400040)
for i in "${!colours[@]}"; do
    convert -size 160x120 "xc:#${colours[$i]}" "${PICTURES}p$(printf %02d "$i").jpg"
done
settings "BASD=$WORK/acq/" BADM=0 MKDR=0 CKTD=0 SUTW=0 EXTM=1 DSDF=0 UTNM=0 UTNT=0

CELL0="290 145"
CELL1="477 145"
TRASH="33 265"
SETTINGS_BUTTON="148 44"
ACQ_FOLDER_BUTTON="560 150" # in the settings dialog's first page

start_orva "$PICTURES"
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 1.5
click_in "$WIN" $CELL0 # the current file the menus work on
sleep 0.5

# The main window's picture area as it is now.
area() {
    eval "$(xdotool getwindowgeometry --shell "$WIN")"
    import -window root -crop "900x400+$((X + 200))+$((Y + 60))" "$SHOTS/$1.png"
}

# Every way into a cell a mouse has, on a window that must not answer.
poke() {
    # The pointer stays where click_in put it (a --sync move to where it already is never ends).
    click_in "$WIN" $CELL1
    xdotool click 3
    xdotool click --repeat 2 1
    xdotool click 5 click 5
    xdotool mousemove --window "$WIN" $CELL0
    sleep 0.2
    drag "$WIN" $CELL1 $TRASH
    sleep 0.5
}

# $1 the dialog's name, $2 its title (a pattern), then the steps that open it.
check_dialog() {
    local name=$1 title=$2 dlg
    shift 2
    "$@"
    dlg=$(window_named "$title" 10) || fail "$name did not open"
    xdotool windowmove "$dlg" 0 600 # off the cells
    sleep 1
    area "before_$name"
    poke
    area "after_$name"
    shot "poked_$name"
    local changed
    changed=$(compare -metric AE "$SHOTS/before_$name.png" "$SHOTS/after_$name.png" null: 2>&1 || true)
    [ "$changed" = 0 ] || fail "the disabled main window answered while $name was open ($changed pixels)"
    [ -z "$(window_named 'ファイル削除確認' 1 || true)" ] || fail "a drop reached the trash under $name"
    echo "e2e: $name holds the main window"
    keys_to "$dlg" Escape
    wait_for 10 sh -c "! xdotool search --onlyvisible --name '$title'" || fail "$name did not close"
    sleep 0.5
}

open_settings() { click_in "$WIN" $SETTINGS_BUTTON; }
open_print() { keys_to "$WIN" alt+f Up Up Up Up Up Up Up Return; }
open_adjust() { keys_to "$WIN" alt+f Up Up Return; }
open_acquisition_folder() { keys_to "$WIN" alt+f Up Up Up Up Up Up Up Up Return; }

check_dialog settings '^Orvana 設定$' open_settings
check_dialog print '^印刷Orvana$' open_print
check_dialog adjust '^画像調整Orvana$' open_adjust
check_dialog acquisition_folder "^Orvana 設定$" open_acquisition_folder
echo "e2e: no dialog lets the main window take input"
