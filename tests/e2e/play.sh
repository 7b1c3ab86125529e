#!/usr/bin/env bash
# The real binary under Xvfb: start from the menu, walk, fire, the FPS line,
# pause and resume, leave with Escape.
source "$(dirname "$0")/common.sh" "$@"
xsession_start || exit 1

# Exact-colour pixels inside a rectangle of a screenshot: count FILE W H X Y COLOUR
count() {
  convert "$1" -crop "$2x$3+$4+$5" +repage -depth 8 txt:- 2>/dev/null | grep -ci "$6" || true
}
# Pixels that differ between two screenshots.
differ() {
  compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1 || true
}

start_game "$ASSETS"
win=$(game_window) || exit 1
check "window appears" test -n "$win"
xsession_focus "$win"
sleep 0.5
xsession_key D            # Start game
sleep 2
xsession_shot "$WORK/before.png"
check "status line is drawn in blue" test "$(count "$WORK/before.png" 400 40 0 75 '#0000FF')" -gt 50
check "no FPS line yet" test "$(count "$WORK/before.png" 75 32 640 80 '#0000FF')" -eq 0

xsession_key W 1.0        # walk forward for a second
sleep 0.3
xsession_shot "$WORK/after-walk.png"
cp "$WORK/after-walk.png" "$SHOTS/e2e-play-walked.png"
check "walking changes the view" test "$(differ "$WORK/before.png" "$WORK/after-walk.png")" -gt 5000

xdotool mousedown 1; sleep 0.3; xdotool mouseup 1; sleep 0.3
xsession_key F2
sleep 1.5
xsession_shot "$WORK/fps.png"
cp "$WORK/fps.png" "$SHOTS/e2e-play-fps.png"
check "F2 shows the FPS line" test "$(count "$WORK/fps.png" 75 32 640 80 '#0000FF')" -gt 20

xsession_key F1
sleep 0.5
xsession_shot "$WORK/paused.png"
cp "$WORK/paused.png" "$SHOTS/e2e-play-paused.png"
check "F1 shows the pause page" test "$(differ "$WORK/fps.png" "$WORK/paused.png")" -gt 100000
xsession_key F1
sleep 0.5
xsession_shot "$WORK/resumed.png"
check "F1 again resumes play" test "$(count "$WORK/resumed.png" 400 40 0 75 '#0000FF')" -gt 50

xsession_key Escape
wait_game 20
check "Escape exits 0" test "$GAME_STATUS" -eq 0
check "left button pressed line" grep -qx "Left mouse button pressed." "$WORK/out"
check "left button released line" grep -qx "Left mouse button released." "$WORK/out"
check "game set-up made six emitters" test "$(grep -cx -- -1 "$WORK/err")" -eq 12

finish 11
