# Shared steps of the end-to-end tests: a fresh copy of the program folder, a private home, an X
# server of its own (Xvfb), ORVA32 started and driven with xdotool, screenshots with ImageMagick.
# Each test script sources this file with the built program folder as its first argument.
set -euo pipefail

for tool in Xvfb xdotool import convert; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "e2e: $tool is not installed; skipping" >&2
        exit 77
    fi
done

PROGRAM_SOURCE=${1:?program folder}
WORK=$(mktemp -d /tmp/orvana-e2e.XXXXXX)
PROG=$WORK/prog
SHOTS=${E2E_SHOTS:-$WORK/shots}
XVFB_PID=
ORVA_PID=
ATSPI_PID=
E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

e2e_cleanup() {
    local rc=$?
    [ -n "$ORVA_PID" ] && kill -9 "$ORVA_PID" 2>/dev/null || true
    [ -n "$ATSPI_PID" ] && kill "$ATSPI_PID" "${DBUS_SESSION_BUS_PID:-}" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null || true
    if [ "$rc" -ne 0 ] && [ -f "$WORK/orva.log" ]; then
        echo "--- ORVA32 output" >&2
        tail -n 40 "$WORK/orva.log" >&2
    fi
    [ "$rc" -eq 0 ] && rm -rf "$WORK"
    [ "$rc" -ne 0 ] && echo "e2e: files kept in $WORK" >&2
    exit "$rc"
}
trap e2e_cleanup EXIT
trap 'echo "e2e: command failed at ${BASH_SOURCE[0]}:$LINENO: $BASH_COMMAND" >&2' ERR
set -o errtrace

fail() {
    echo "e2e: FAILED: $*" >&2
    exit 1
}

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
    local seconds=$1
    shift
    local end=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        [ "$SECONDS" -ge "$end" ] && return 1
        sleep 0.2
    done
}

# A fresh program folder, home, configuration and data folders; the virtual scanner is the
# default source and SANE has no backend.
mkdir -p "$PROG" "$WORK/home" "$WORK/config/orvana" "$WORK/data" "$WORK/run" "$WORK/sane" "$SHOTS"
chmod 700 "$WORK/run"
cp -a "$PROGRAM_SOURCE"/. "$PROG"/
# The companion thumbnail program lives beside the program folder.
[ -d "$PROGRAM_SOURCE/../Snaplet" ] && cp -a "$PROGRAM_SOURCE/../Snaplet" "$WORK/Snaplet"
rm -rf "$PROG/ORVA.CNF" "$PROG/kept"
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data
export XDG_RUNTIME_DIR=$WORK/run SANE_CONFIG_DIR=$WORK/sane
unset ORVANA_KEPT_DIR ORVANA_WINDOWS_DIR QT_QPA_PLATFORM LANGUAGE LC_ALL LC_MESSAGES
# The program speaks Japanese unless a test gives it an English desktop.
export LANG=C.UTF-8
: >"$WORK/sane/dll.conf"
echo "Virtual Scanner" >"$WORK/config/orvana/twain-default-source"

# An X server on a display it chooses itself: it writes the number once it accepts connections,
# so a server of an earlier test that is still going away is never taken for this one. Without
# -noreset it would reset itself whenever its last client leaves, refusing the connection of a
# program started again at that moment ("could not connect to display").
Xvfb -displayfd 3 -noreset -screen 0 "${E2E_SCREEN:-1280x1024}x24" -nolisten tcp \
    3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
wait_for 10 test -s "$WORK/display" || fail "no X server could be started"
export DISPLAY=":$(tr -dc 0-9 <"$WORK/display")"

# ORVA.CNF made from the defaults file with KEY=VALUE pairs changed, comments and CR LF kept.
settings() {
    cp "$PROG/DEF_ORVA.CNF" "$PROG/ORVA.CNF"
    local pair
    for pair in "$@"; do
        sed -i "s|^${pair%%=*} ,[^'\r]*|${pair%%=*} , ${pair#*=} |" "$PROG/ORVA.CNF"
    done
}

# A session bus and on it the accessibility bus, so that the test reads the windows as a screen
# reader does (ax, below); call it before start_orva. Skips the test (77) without them.
accessibility() {
    local launcher=/usr/libexec/at-spi-bus-launcher
    # The system's Python has the bindings; a Python of the user's own may not.
    for ATSPI_PYTHON in python3 /usr/bin/python3 ""; do
        [ -n "$ATSPI_PYTHON" ] && "$ATSPI_PYTHON" -c 'import pyatspi' 2>/dev/null && break
    done
    if [ -z "$ATSPI_PYTHON" ] || [ ! -x "$launcher" ] || ! command -v dbus-launch >/dev/null; then
        echo "e2e: AT-SPI (at-spi2-core, python3-pyatspi, dbus-x11) is not installed; skipping" >&2
        exit 77
    fi
    eval "$(dbus-launch --sh-syntax)"
    "$launcher" --launch-immediately >>"$WORK/atspi.log" 2>&1 &
    ATSPI_PID=$!
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}

# What a screen reader finds: ax text WINDOW NAME, ax has WINDOW TEXT (tests/e2e/atspi.py).
ax() { "$ATSPI_PYTHON" "$E2E_DIR/atspi.py" "$@"; }

start_orva() {
    "$PROG/ORVA32" "$@" >>"$WORK/orva.log" 2>&1 &
    ORVA_PID=$!
}

# The id of the first visible window whose title matches $1, waiting up to $2 seconds.
window_named() {
    local end=$((SECONDS + ${2:-20})) id
    while [ "$SECONDS" -lt "$end" ]; do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    return 1
}

# Gives a window the keyboard focus (there is no window manager) and types keys into it.
keys_to() {
    local id=$1
    shift
    # A window that has just appeared may not take the focus at the first attempt.
    wait_for 5 xdotool windowfocus --sync "$id" || fail "window $id takes no focus"
    xdotool key --delay 80 "$@"
}

# A screenshot of the whole screen as $SHOTS/$1.png; fails when it shows nothing but one colour.
shot() {
    import -window root "$SHOTS/$1.png"
    local spread
    spread=$(convert "$SHOTS/$1.png" -format '%[fx:standard_deviation]' info:)
    awk -v s="$spread" 'BEGIN { exit !(s > 0.01) }' || fail "screenshot $1 is blank"
}

# A visible window named "Orvana…", wider (main) or narrower (message box, start screen) than
# 600 pixels, other than the windows given after the first two arguments; waits up to $2 seconds.
orvana_window() {
    local kind=$1 end=$((SECONDS + ${2:-30})) id width
    shift 2
    while [ "$SECONDS" -lt "$end" ]; do
        for id in $(xdotool search --onlyvisible --name '^Orvana' 2>/dev/null || true); do
            case " $* " in *" $id "*) continue ;; esac
            width=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | sed -n 's/^WIDTH=//p')
            [ -n "$width" ] || continue
            if { [ "$kind" = main ] && [ "$width" -ge 600 ]; } ||
                { [ "$kind" = box ] && [ "$width" -lt 600 ]; }; then
                echo "$id"
                return 0
            fi
        done
        sleep 0.2
    done
    return 1
}
main_window() { orvana_window main "$@"; }
message_box() { orvana_window box "$@"; }

# Clicks at x y inside window $1.
click_in() {
    wait_for 5 xdotool mousemove --sync --window "$1" "$2" "$3" || fail "cannot point into $1"
    xdotool click 1
}

# Drags from the place $2 $3 of window $1 to the place $4 $5, in small steps as a hand does.
drag() {
    xdotool mousemove --sync --window "$1" "$2" "$3"
    xdotool mousedown 1
    local i
    for i in 1 2 3 4 5 6 7 8; do
        xdotool mousemove --window "$1" $(($2 + ($4 - $2) * i / 8)) $(($3 + ($5 - $3) * i / 8))
        sleep 0.05
    done
    sleep 0.3
    xdotool mouseup 1
    sleep 1
}

# Answers the print's PDF file question with the file $1 and waits until the file is written.
print_to_pdf() {
    local save
    save=$(window_named 'PDFファイルへ印刷' 10) || fail "no file was asked for"
    keys_to "$save" ctrl+a
    xdotool type --delay 20 "$1"
    xdotool key Return
    wait_for 10 test -s "$1" || fail "no PDF was written"
    sleep 1
}

# Acquires $2 pages into the folder $3 with the virtual scanner, from the main window $1: the
# TWAIN button, the page count, Scan, and Close once the last page file is there.
scan_pages() {
    local scanner
    click_in "$1" 22 44
    scanner=$(window_named '^仮想スキャナー$' 20) || fail "the scanner's window did not appear"
    keys_to "$scanner" Tab
    xdotool type "$2"
    xdotool key Tab space
    wait_for 60 test -e "$3ORVA_TMP.$(printf %03d $(($2 - 1)))" ||
        fail "the scanner wrote no $2 pages: $(ls -A "$3" | tr '\n' ' ')"
    xdotool key Tab space
}

# Skips the test (77) without Tesseract's Japanese and English data, which its steps need.
need_text_data() {
    local data=${TESSDATA_PREFIX:-/usr/share/tesseract-ocr/5/tessdata}
    [ -e "$data/jpn.traineddata" ] && [ -e "$data/eng.traineddata" ] ||
        { echo "e2e: Tesseract's jpn and eng data are not installed; skipping" >&2; exit 77; }
}

# Opens the settings from the tool bar of the main window $1, chooses PDF on the TWAIN page and,
# with $2 = words, the text recognition; OK, and waits until the dialog is gone.
choose_pdf() {
    local dialog
    click_in "$1" 148 44
    dialog=$(window_named '^Orvana 設定$' 10) || fail "the settings dialog did not open"
    sleep 0.5
    click_in "$dialog" 448 23 # the TWAIN page
    click_in "$dialog" 38 241 # PDF
    [ "${2:-}" = words ] && click_in "$dialog" 284 90
    sleep 0.3
    shot pdf_chosen
    click_in "$dialog" 594 458 # OK
    wait_for 10 sh -c "! xdotool search --onlyvisible --name '^Orvana 設定$' >/dev/null 2>&1" ||
        fail "the settings dialog did not close"
}
