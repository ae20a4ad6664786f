#!/usr/bin/env bash
# The program installed into a prefix, and unpacked from its Debian package: the launcher on the
# PATH, started as the desktop entry says, starts it from its program folder, with its desktop
# entry, icon and AppStream metadata in place; the package depends on installed Debian packages
# and lintian finds nothing to object to.
source "$(dirname "$0")/lib.sh"

BUILD=$(dirname "$PROGRAM_SOURCE")
PREFIX=$WORK/prefix
cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 || fail "cmake --install failed"
for file in bin/orvana lib/orvana/program/ORVA32 lib/orvana/program/DEF_ORVA.CNF \
    lib/orvana/Snaplet/SNAPLET share/man/man1/orvana.1.gz share/doc/orvana/copyright \
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

# The launcher answers the usual options on the terminal, without a window system.
(
    export PATH=$PREFIX/bin:$PATH
    unset DISPLAY
    help=$(orvana --help) || fail "orvana --help failed"
    [ "${help%%$'\n'*}" = "Usage: orvana [options] [folder]" ] ||
        fail "orvana --help does not print the usage"
    version=$(orvana --version) || fail "orvana --version failed"
    [[ $version =~ ^Orvana\ [0-9.]+$ ]] || fail "orvana --version printed: $version"
    status=0
    orvana --no-such-option 2>"$WORK/option.err" || status=$?
    [ "$status" -eq 2 ] && [ "$(wc -l <"$WORK/option.err")" -eq 1 ] ||
        fail "a bad option did not end with one line and status 2 (status $status)"
) || exit 1

PICTURES=$WORK/pictures/
mkdir -p "$PICTURES" "$WORK/acq"
convert -size 640x480 xc:'#e01010' "${PICTURES}red.jpg"
PROG=$PREFIX/lib/orvana/program settings "BASD=$WORK/acq/" BADM=0 MKDR=0 CKTD=0 SUTW=0 EXTM=1 DSDF=0

# Started as the desktop entry says, with the launcher of root on the PATH; the picture shows.
start_installed() {
    local root=$1 exec
    exec=$(sed -n 's/^Exec=//p' "$root/share/applications/org.orvana.Orvana.desktop")
    PATH=$root/bin:$PATH ${exec/\%f/$PICTURES} >>"$WORK/orva.log" 2>&1 &
    ORVA_PID=$!
    WIN=$(main_window 30) || fail "the program in $root did not open its window"
    sleep 1.5
    shot "installed-$(basename "$root")"
    red=$(convert "$SHOTS/installed-$(basename "$root").png" -crop 900x600+300+240 \
        -fx '(r>0.75 && g<0.2 && b<0.2) ? 1 : 0' -format '%[fx:mean]' info:)
    awk -v r="$red" 'BEGIN { exit !(r > 0.02) }' || fail "the program in $root shows no picture"
    kill "$ORVA_PID"
    wait "$ORVA_PID" 2>/dev/null || true
    ORVA_PID=
}
start_installed "$PREFIX"
echo "e2e: the installed program starts from its desktop entry and shows the folder"

# The Debian package: its dependencies are Debian packages (installed here, as the dependency
# script installs them), and unpacked it starts the same way.
cpack -G DEB -B "$WORK/deb" --config "$BUILD/CPackConfig.cmake" >"$WORK/cpack.log" 2>&1 ||
    fail "cpack failed: $(tail -5 "$WORK/cpack.log")"
DEB=$(ls "$WORK"/deb/orvana_*.deb)
# Each dependency without its version, the first of alternatives.
for package in $(dpkg-deb -f "$DEB" Depends | sed 's/([^)]*)//g; s/|[^,]*//g' | tr -d ' ' | tr ',' ' '); do
    dpkg -s "$package" >/dev/null 2>&1 || fail "the package depends on $package, which is not installed"
done
if command -v lintian >/dev/null; then
    lintian --no-tag-display-limit "$DEB" >"$WORK/lintian.log" 2>&1 || true
    if grep -E '^(E|W): ' "$WORK/lintian.log"; then
        fail "lintian finds errors or warnings in the package"
    fi
fi
dpkg-deb -x "$DEB" "$WORK/unpacked"
others=$(find "$WORK/unpacked/usr/lib" -mindepth 1 -maxdepth 1 ! -name orvana)
[ -z "$others" ] || fail "the package puts more than its own folder in /usr/lib: $others"
PROG=$WORK/unpacked/usr/lib/orvana/program settings "BASD=$WORK/acq/" BADM=0 MKDR=0 CKTD=0 SUTW=0 EXTM=1 DSDF=0
start_installed "$WORK/unpacked/usr"
echo "e2e: the Debian package's program starts from its desktop entry and shows the folder"
