#!/usr/bin/env bash
# The installed game: an install into a temporary DESTDIR, the files a
# desktop needs (launcher, desktop entry, icons, manual page, asset pack),
# the command line through the launcher, the launcher run from another
# folder under Xvfb, and --windowed on a screen larger than the game.
source "$(dirname "$0")/common.sh" "$@"

DEST="$WORK/dest"
PREFIX=/usr
ROOT="$DEST$PREFIX"
DESTDIR="$DEST" cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" 2>&1
check "cmake --install into a DESTDIR succeeds" test $? -eq 0
LAUNCHER="$ROOT/bin/orbitor"
check "launcher on the path, executable" test -x "$LAUNCHER"
check "game binary installed" test -x "$ROOT/libexec/orbitor/orbitor"
for f in Textures/sp1.tga Textures/hueteotl.tga Modells/tris.md2 Sound/explosion.mp3 Sound/UFO.mid; do
  check "asset $f installed" test -s "$ROOT/share/orbitor/$f"
done
check "nothing outside the DESTDIR's prefix" test "$(ls "$DEST")" = "usr"

ENTRY="$ROOT/share/applications/orbitor.desktop"
check "desktop entry validates" desktop-file-validate "$ENTRY"
check "desktop entry is a game" grep -qx "Categories=Game;ActionGame;" "$ENTRY"
for n in 64 128 256; do
  icon="$ROOT/share/icons/hicolor/${n}x${n}/apps/orbitor.png"
  check "icon ${n}x${n} is a ${n}x${n} PNG" test "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" = "PNG ${n}x${n}"
done
MAN="$ROOT/share/man/man6/orbitor.6"
groff -man -ww -z "$MAN" 2>"$WORK/man.warnings"
check "manual page formats without warnings" test ! -s "$WORK/man.warnings"
MANWIDTH=100 man -l "$MAN" 2>/dev/null | col -b >"$WORK/man.txt"
for section in SYNOPSIS OPTIONS CONTROLS FILES; do
  check "manual page has $section" grep -qx "$section" "$WORK/man.txt"
done
check "manual page names the installed asset folder" grep -q "$PREFIX/share/orbitor/" "$WORK/man.txt"

# The command line, without any display.
mkdir -p "$WORK/elsewhere"
cd "$WORK/elsewhere"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")
env -u DISPLAY "$LAUNCHER" --help >"$WORK/out" 2>"$WORK/err"
check "--help exits 0" test $? -eq 0
check "--help prints the usage and the controls" grep -q "Left button" "$WORK/out"
check "--help prints nothing on stderr" test ! -s "$WORK/err"
env -u DISPLAY "$LAUNCHER" --version >"$WORK/out" 2>"$WORK/err"
check "--version exits 0" test $? -eq 0
check "--version prints the project version" test "$(cat "$WORK/out")" = "orbitor $version"
env -u DISPLAY "$LAUNCHER" --fast >"$WORK/out" 2>"$WORK/err"
check "an unknown option exits 2" test $? -eq 2
check "the usage goes to stderr" grep -q "^Usage: orbitor" "$WORK/err"
check "nothing on stdout" test ! -s "$WORK/out"

# Started from another folder, the launcher finds the assets: the title
# page shows and no picture is missing.
BINARY="$LAUNCHER"
xsession_start || exit 1
start_game "$WORK/elsewhere"
win=$(game_window) || exit 1
xsession_focus "$win"
sleep 1
xsession_shot "$WORK/title.png"
cp "$WORK/title.png" "$SHOTS/e2e-installed-title.png"
lit=$(convert "$WORK/title.png" -colorspace Gray -threshold 15% -format '%[fx:int(mean * 100)]' info:)
check "title page drawn ($lit% of the screen lit)" test "$lit" -ge 10
check "every picture found" test "$(grep -cx problem "$WORK/out")" -eq 0
xsession_key Escape
wait_game 20
check "Escape exits 0" test "$GAME_STATUS" -eq 0
xsession_stop

# On a 1280 x 1024 screen the full-screen window covers the screen (Xvfb
# cannot switch modes), while --windowed gives an 800 x 600 window.
xsession_start 1280x1024 || exit 1
# Starts the game with the given options and sets SIZE to its window's WxH,
# then leaves with Escape.
window_size() {
  local id
  SIZE=none
  start_game "$WORK/elsewhere" "$@"
  id=$(game_window) || return 1
  eval "$(xdotool getwindowgeometry --shell "$id")"
  SIZE="${WIDTH}x${HEIGHT}"
  xsession_focus "$id"
  sleep 1
  xsession_key Escape
  wait_game 20
}
window_size --windowed
check "--windowed: an 800x600 window" test "$SIZE" = "800x600"
check "--windowed: Escape exits 0" test "$GAME_STATUS" -eq 0
window_size
check "full screen covers the 1280x1024 screen" test "$SIZE" = "1280x1024"

finish 34
