#!/usr/bin/env bash
# The program installed into a prefix, as a package installs it: the launcher on the PATH starts
# it from its program folder, with its desktop entry, icon and AppStream metadata in place.
source "$(dirname "$0")/lib.sh"

BUILD=$(dirname "$PROGRAM_SOURCE")
PREFIX=$WORK/prefix
cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 || fail "cmake --install failed"
for file in bin/orvana lib/orvana/ORVA32 lib/orvana/DEF_ORVA.CNF lib/Snaplet/SNAPLET \
    share/applications/org.orvana.Orvana.desktop share/metainfo/org.orvana.Orvana.metainfo.xml \
    share/icons/hicolor/scalable/apps/org.orvana.Orvana.svg; do
    [ -e "$PREFIX/$file" ] || fail "$file was not installed"
done
grep -q '^Exec=orvana' "$PREFIX/share/applications/org.orvana.Orvana.desktop" ||
    fail "the desktop entry does not start the launcher"
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$PREFIX/share/metainfo/org.orvana.Orvana.metainfo.xml" \
        >"$WORK/appstream.log" 2>&1 || fail "AppStream metadata: $(cat "$WORK/appstream.log")"
fi

PICTURES=$WORK/pictures/
mkdir -p "$PICTURES" "$WORK/acq"
convert -size 640x480 xc:'#e01010' "${PICTURES}red.jpg"
PROG=$PREFIX/lib/orvana settings "BASD=$WORK/acq/" BADM=0 MKDR=0 CKTD=0 SUTW=0 EXTM=1 DSDF=0

PATH=$PREFIX/bin:$PATH orvana "$PICTURES" >>"$WORK/orva.log" 2>&1 &
ORVA_PID=$!
WIN=$(main_window 30) || fail "the installed program did not open its window"
sleep 1.5
shot installed
red=$(convert "$SHOTS/installed.png" -crop 900x600+300+240 \
    -fx '(r>0.75 && g<0.2 && b<0.2) ? 1 : 0' -format '%[fx:mean]' info:)
awk -v r="$red" 'BEGIN { exit !(r > 0.02) }' || fail "the installed program shows no picture"
echo "e2e: the installed program starts from the launcher and shows the folder"
