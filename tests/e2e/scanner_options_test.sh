#!/usr/bin/env bash
# The SANE source window by keyboard alone. The page of every option opens with its mnemonic,
# the test device's picture is changed from solid black to its grid, and the page scanned
# afterwards is the grid (white paper with black lines), so the option reached the scan. Then A5
# is chosen as the page size: the page stored is 148 x 210 mm by its pixels and resolution. Then
# a preview of the whole glass, and a frame dragged on it over the middle half: the page stored
# is the frame the window shows (as a screen reader reads its numbers), by its pixels and
# resolution and by the grid's 10 mm squares counted on it. Last, the program is ended and started again: the window
# comes back with the preview and everything chosen, and scans the same page; with the device's
# memory damaged, it opens with the device's defaults and says so.
source "$(dirname "$0")/lib.sh"
accessibility

[ -s /etc/sane.d/test.conf ] || { echo "e2e: SANE's test backend is not configured; skipping" >&2; exit 77; }
printf 'test\n' >"$WORK/sane/dll.conf"
# A glass of 300 x 300 mm, on which A5 and A4 lie.
sed 's/^geometry_max .*/geometry_max 300.0/' /etc/sane.d/test.conf >"$WORK/sane/test.conf"

# Whether the BMP page $1 is $2 x $3 mm (within $4 mm) by its pixels and resolution.
page_is() {
    python3 - "$@" <<'EOF'
import struct, sys
data = open(sys.argv[1], 'rb').read()
width, height = struct.unpack_from('<ii', data, 18)
xppm, yppm = struct.unpack_from('<ii', data, 38)
mm = (width / xppm * 1000, abs(height) / yppm * 1000)
print("e2e: %s is %.1f x %.1f mm" % (sys.argv[1].rsplit('/', 1)[1], mm[0], mm[1]))
want, slack = (float(sys.argv[2]), float(sys.argv[3])), float(sys.argv[4])
sys.exit(0 if all(abs(m - w) <= slack for m, w in zip(mm, want)) else 1)
EOF
}

TITLE='Noname frontend-tester \(test:0\)'
# Opens the test device's window from the main window's scan button: SRC.
open_source() {
    click_in "$WIN" 22 44
    SRC=$(window_named "$TITLE" 20) || fail "the source window did not appear"
    sleep 0.5
}

# The number of millimetres in the window's field $1, as a screen reader reads it ("150.0 mm").
field_mm() {
    ax text "$TITLE" "$1" | sed -n 's/^\([0-9.]*\) mm$/\1/p' | grep . || fail "no number in $1"
}

# Ends the program as a kill does and starts it again: WIN.
restart() {
    kill "$ORVA_PID"
    wait "$ORVA_PID" 2>/dev/null || true
    start_orva "$ACQ"
    WIN=$(main_window 30) || fail "the main window did not appear again"
    sleep 1
}

# Where the preview's glass is in the window's screenshot $1, by the grid on it: its first
# pixel and its pixels a millimetre across and down ("PX PY MMX MMY").
preview_glass() {
    python3 - "$1" <<'EOF'
import subprocess, sys
w, h = map(int, subprocess.check_output(['identify', '-format', '%w %h', sys.argv[1]]).split())
raw = subprocess.check_output(['convert', sys.argv[1], '-depth', '8', 'rgb:-'])
black = lambda x, y: raw[(y * w + x) * 3:(y * w + x) * 3 + 3] == b'\x00\x00\x00'
# The grid's squares are 10 mm, a checkerboard: every row and column of the glass's 30 x 30
# squares has black in it, so its black spans the whole glass. Rows and columns of the grid are
# half black; a line of text is not.
rows = [y for y in range(h) if sum(black(x, y) for x in range(w // 3, w)) > 60]
cols = [x for x in range(w // 3, w) if sum(black(x, y) for y in rows) > 60]
if rows and cols:
    print(min(cols), min(rows), (max(cols) - min(cols) + 1) / 300, (max(rows) - min(rows) + 1) / 300)
else:
    print(0, 0, 0, 0)
EOF
}

# Presses Scan, waits for the page and closes the window, which stores it as $1.
scan_and_store() {
    keys_to "$SRC" alt+s
    wait_for 20 test -e "${ACQ}ORVA_TMP.000" || fail "no page was scanned for $1"
    sleep 0.5
    shot "scanned_${1%.bmp}"
    keys_to "$SRC" alt+c
    wait_for 20 test -e "$ACQ$1" || fail "the page was not stored as $1"
}

ACQ=$WORK/acq/
mkdir -p "$ACQ"
settings "BASD=$ACQ" BADM=0 MKDR=0 SVMD=0 NTOP=IMG SCNN=4 CKTD=0 SUTW=0 EXTM=1 DSDF=0
echo 'Noname frontend-tester (test:0)' >"$WORK/config/orvana/twain-default-source"

start_orva "$ACQ"
WIN=$(main_window 30) || fail "the main window did not appear"
sleep 1
open_source
shot basic_page
# Everything a user reaches with Tab has a name a screen reader says, on both pages.
ax unnamed "$TITLE" || fail "the basic page has controls without a name"
# The options page opens with its first control focused, the hand scanner's box; Tab goes (past
# inactive ones) to the test picture's list, whose last entry is the grid.
keys_to "$SRC" alt+p
sleep 0.5
keys_to "$SRC" Tab End
sleep 1
shot options_page
ax unnamed "$TITLE" || fail "the page of every option has controls without a name"
scan_and_store IMG0001.bmp

# A solid black page holds no white pixel; the grid's paper is white.
python3 - "$ACQ/IMG0001.bmp" <<'EOF' || fail "the scanned page is not the grid"
import struct, sys
data = open(sys.argv[1], 'rb').read()
offset = struct.unpack_from('<I', data, 10)[0]
pixels = data[offset:]
white = pixels.count(b'\xff')
sys.exit(0 if white > len(pixels) // 4 else 1)
EOF

# A5 by keyboard on the basic page: the paper list's entries that fit are A4, A5 …
WIN=$(main_window 30) || fail "the main window is gone"
open_source
keys_to "$SRC" alt+z Home Down
sleep 0.5
shot a5_chosen
scan_and_store IMG0002.bmp
page_is "$ACQ/IMG0002.bmp" 148 210 1 || fail "the stored page is not A5"

# The preview of the whole glass, the grid on it; the frame dragged over its middle half.
open_source
keys_to "$SRC" alt+z End Up alt+v
sleep 3
import -window "$SRC" "$SHOTS/preview.png"
read -r PX PY MMX MMY < <(preview_glass "$SHOTS/preview.png")
echo "e2e: the preview's glass starts at $PX,$PY, $MMX x $MMY pixels a millimetre"
awk -v s="$MMX" 'BEGIN { exit !(s > 0.5) }' || fail "no preview picture was shown"
# From 75 mm to 225 mm of the glass, both ways.
at() { awk -v o="$1" -v s="$2" -v mm="$3" 'BEGIN { printf "%d", o + s * mm + 0.5 }'; }
drag "$SRC" "$(at "$PX" "$MMX" 75)" "$(at "$PY" "$MMY" 75)" "$(at "$PX" "$MMX" 225)" "$(at "$PY" "$MMY" 225)"
shot frame_dragged
frame() { echo "$(field_mm '幅(W):') $(field_mm '高さ(H):') $(field_mm '左端(L):') $(field_mm '上端(T):')"; }
FRAME=$(frame)
echo "e2e: the window's frame is $FRAME mm (width, height, left, top)"
read -r FW FH FL FT <<<"$FRAME"
# The drag lands on whole pixels at about 1.4 pixels a millimetre.
awk -v w="$FW" -v h="$FH" 'BEGIN { exit !((w - 150)^2 < 9 && (h - 150)^2 < 9) }' ||
    fail "the frame does not follow the drag"
scan_and_store IMG0003.bmp
page_is "$ACQ/IMG0003.bmp" "$FW" "$FH" 1 || fail "the stored page is not the frame the window shows"
# Counted from the grid: the test device draws its 10 mm squares from the frame's corner, so
# the page's squares tell its size in mm, whatever resolution the file says it has.
python3 - "$ACQ/IMG0003.bmp" "$FW" "$FH" <<'EOF' || fail "the stored page's squares are not the frame's size"
import struct, sys
data = open(sys.argv[1], 'rb').read()
offset = struct.unpack_from('<I', data, 10)[0]
width, height = struct.unpack_from('<ii', data, 18)
bits = struct.unpack_from('<H', data, 28)[0] // 8
stride = (width * bits + 3) & ~3
def dark(x, y):  # y counted from the top, in a picture stored from the bottom
    row = offset + ((abs(height) - 1 - y) if height > 0 else y) * stride
    return data[row + x * bits] < 128
def edges(values):
    return [i for i in range(1, len(values)) if values[i] != values[i - 1]]
for name, length, line, want in (
        ('wide', width, [dark(x, 5) for x in range(width)], float(sys.argv[2])),
        ('high', abs(height), [dark(5, y) for y in range(abs(height))], float(sys.argv[3]))):
    found = edges(line)
    per_mm = (found[-1] - found[0]) / (10 * (len(found) - 1))
    mm = length / per_mm
    print("e2e: by its %d squares' edges the page is %.1f mm %s" % (len(found), mm, name))
    if abs(mm - want) > 1:
        sys.exit(1)
EOF

# Ended and started again: the window has its preview and every choice, and scans the same page.
restart
open_source
import -window "$SRC" "$SHOTS/reopened.png"
read -r PX PY MMX MMY < <(preview_glass "$SHOTS/reopened.png")
awk -v s="$MMX" 'BEGIN { exit !(s > 0.5) }' || fail "the preview did not come back"
[ "$(frame)" = "$FRAME" ] || fail "the frame did not come back: $(frame)"
scan_and_store IMG0004.bmp
cmp -s "$ACQ/IMG0003.bmp" "$ACQ/IMG0004.bmp" || fail "the page scanned after the restart differs"

# The device's memory damaged: its defaults, and the user is told.
for file in "$WORK/config/orvana/devices/"*.json; do printf '{"device": "test:0", "opt' >"$file"; done
restart
open_source
ax has "$TITLE" "この機器の前回の設定を読めなかったため、機器の既定値で開きました。" ||
    fail "the window does not say that the device's memory could not be read"
shot memory_damaged
scan_and_store IMG0005.bmp
python3 - "$ACQ/IMG0005.bmp" <<'EOF' || fail "the page after the damaged memory is not the device's default"
import struct, sys
data = open(sys.argv[1], 'rb').read()
pixels = data[struct.unpack_from('<I', data, 10)[0]:]
sys.exit(0 if pixels.count(b'\xff') == 0 else 1)
EOF
echo "e2e: an option chosen by keyboard reached the scanned page, A5 gave an A5 page, a frame dragged on the preview gave its page, all of it came back after a restart, and a damaged memory was told"
