#!/usr/bin/env bash
# The SANE source window by keyboard alone. The page of every option opens with its mnemonic,
# the test device's picture is changed from solid black to its grid, and the page scanned
# afterwards is the grid (white paper with black lines), so the option reached the scan. Then A5
# is chosen as the page size: the page stored is 148 x 210 mm by its pixels and resolution. Last,
# a preview of the whole glass, and a frame dragged on it over the middle half: the page stored
# is that frame, 150 x 150 mm of the 300 mm glass.
source "$(dirname "$0")/lib.sh"

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

# Opens the test device's window from the main window's scan button: SRC.
open_source() {
    click_in "$WIN" 22 44
    SRC=$(window_named 'Noname frontend-tester \(test:0\)' 20) || fail "the source window did not appear"
    sleep 0.5
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
# The options page opens with its first control focused, the hand scanner's box; Tab goes (past
# inactive ones) to the test picture's list, whose last entry is the grid.
keys_to "$SRC" alt+p
sleep 0.5
keys_to "$SRC" Tab End
sleep 1
shot options_page
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
# The grid's squares are 10 mm, a checkerboard: every row and column of the glass's 30 x 30
# squares has black in it, so its black spans the whole glass.
read -r PX PY MMX MMY < <(python3 - "$SHOTS/preview.png" <<'EOF'
import subprocess, sys
w, h = map(int, subprocess.check_output(['identify', '-format', '%w %h', sys.argv[1]]).split())
raw = subprocess.check_output(['convert', sys.argv[1], '-depth', '8', 'rgb:-'])
black = lambda x, y: raw[(y * w + x) * 3:(y * w + x) * 3 + 3] == b'\x00\x00\x00'
# Rows and columns of the grid are half black; a line of text is not.
rows = [y for y in range(h) if sum(black(x, y) for x in range(w // 3, w)) > 60]
cols = [x for x in range(w // 3, w) if sum(black(x, y) for y in rows) > 60]
print(min(cols), min(rows), (max(cols) - min(cols) + 1) / 300, (max(rows) - min(rows) + 1) / 300)
EOF
)
echo "e2e: the preview's glass starts at $PX,$PY, $MMX x $MMY pixels a millimetre"
awk -v s="$MMX" 'BEGIN { exit !(s > 0.5) }' || fail "no preview picture was shown"
# From 75 mm to 225 mm of the glass, both ways.
at() { awk -v o="$1" -v s="$2" -v mm="$3" 'BEGIN { printf "%d", o + s * mm + 0.5 }'; }
drag "$SRC" "$(at "$PX" "$MMX" 75)" "$(at "$PY" "$MMY" 75)" "$(at "$PX" "$MMX" 225)" "$(at "$PY" "$MMY" 225)"
shot frame_dragged
scan_and_store IMG0003.bmp
# The drag lands on whole pixels at about 1.4 pixels a millimetre, the device's step is 1 mm.
page_is "$ACQ/IMG0003.bmp" 150 150 2 || fail "the stored page is not the frame dragged"
echo "e2e: an option chosen by keyboard reached the scanned page, A5 gave an A5 page, and a frame dragged on the preview gave its page"
