#!/usr/bin/env bash
# The real binary under Xvfb: window title, leaving from the menu with Quit
# and with Escape, no display, an empty working directory.
source "$(dirname "$0")/common.sh" "$@"

# No display at all: the window cannot be made.
(cd "$ASSETS" && env -u DISPLAY ORBITOR_GLFW_LOG="$WORK/why.log" "$BINARY") >"$WORK/out" 2>"$WORK/err"
status=$?
check "no display exits 1" test "$status" -eq 1
check "no display says so, and only that" test "$(cat "$WORK/err")" = "Could not create window"
check "the library's reason goes to the log file" grep -q "^GLFW error 0x.*DISPLAY" "$WORK/why.log"

xsession_start || exit 1

# Quit item: S three times, then D.
start_game "$ASSETS"
win=$(game_window)
check "window titled Orbitor!" test -n "$win"
xsession_focus "$win"
sleep 0.5
xsession_shot "$SHOTS/e2e-title.png"
xsession_key S; xsession_key S; xsession_key S
xsession_shot "$SHOTS/e2e-title-quit-item.png"
xsession_key D
wait_game 20
check "Quit exits 0" test "$GAME_STATUS" -eq 0
check "start-up makes the player first" test "$(head -n 2 "$WORK/err" | tr '\n' ' ')" = "kostr 1 "
check "Quit sets up no game (no emitters made)" bash -c "! grep -qx -- -1 '$WORK/err'"

# Escape in the menu, with a soundfont that is not there: named once, after
# the player's lines that start-up writes first.
SDL_SOUNDFONTS="$WORK/no-font.sf2" start_game "$ASSETS"
win=$(game_window)
xsession_focus "$win"
sleep 0.5
xsession_key Escape
wait_game 20
check "Escape in the menu exits 0" test "$GAME_STATUS" -eq 0
check "Escape sets up no game" bash -c "! grep -qx -- -1 '$WORK/err'"
check "missing soundfont named once, after the player" test "$(grep -n '^Sound font' "$WORK/err")" = \
  "3:Sound font not found: $WORK/no-font.sf2 (music will be silent)"

# An empty working directory: every asset is missing, the game goes on.
mkdir -p "$WORK/empty"
start_game "$WORK/empty"
win=$(game_window)
check "runs without its assets" test -n "$win"
xsession_focus "$win"
sleep 0.5
xsession_key Escape
wait_game 20
check "empty directory exits 0" test "$GAME_STATUS" -eq 0
check "missing textures say problem" test "$(grep -cx problem "$WORK/out")" -ge 20

finish 12
