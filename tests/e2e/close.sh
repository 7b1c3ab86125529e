#!/usr/bin/env bash
# Closing the window (as a window manager's close button does) ends the game
# with exit 0 wherever it stands: the title menu, play, the pause page and
# the end screen. The end screen comes from the time goal (100 s on Easy),
# reached in seconds on a clock that runs ten times as fast.
source "$(dirname "$0")/common.sh" "$@"
CLOSE="$BUILD/tests/close_window"
FAST_CLOCK=(LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 "FAKETIME=+0 x10")

xsession_start || exit 1

start_play() {   # the menu's first item; game set-up writes the emitters' -1
  xsession_key d
  for _ in $(seq 300); do
    grep -qx -- -1 "$WORK/err" && return 0
    sleep 0.1
  done
  return 1
}

close_and_wait() {   # close_and_wait NAME WINDOW
  "$CLOSE" "$2"
  wait_game 30
  check "closing the window $1 exits 0" test "$GAME_STATUS" -eq 0
}

for where in "in the menu" "in play" "on the pause page"; do
  start_game "$ASSETS"
  win=$(game_window) || exit 1
  xsession_focus "$win"
  sleep 0.5
  if [ "$where" != "in the menu" ]; then
    start_play
    xsession_key w 0.5
  fi
  [ "$where" = "on the pause page" ] && { xsession_key F1; sleep 0.5; xsession_shot "$SHOTS/e2e-close-paused.png"; }
  close_and_wait "$where" "$win"
done

# The end screen: goal page (item 1), the time goal (4th), back, start.
env "${FAST_CLOCK[@]}" bash -c 'cd "$1" && exec "$2"' _ "$ASSETS" "$BINARY" >"$WORK/out" 2>"$WORK/err" &
GAME_PID=$!
win=$(game_window) || exit 1
xsession_focus "$win"
sleep 0.5
xsession_key s; xsession_key d; xsession_key s; xsession_key s; xsession_key s
xsession_key a; xsession_key w
start_play
check "the game starts with the time goal" test $? -eq 0
# Play shows the status line (blue, or red while the chaser is here); the end
# screen draws no text lines.
status_line() {
  xsession_shot "$WORK/shot.png"
  count_where "$WORK/shot.png" 320 26 10 68 '(r < 40 && g < 40 && b > 200) || (r > 200 && g < 40 && b < 40)'
}
seen=0; ended=0
for _ in $(seq 60); do
  n=$(status_line)
  [ "$n" -gt 200 ] && seen=1
  [ "$seen" -eq 1 ] && [ "$n" -lt 50 ] && { ended=1; break; }
  sleep 0.5
done
cp "$WORK/shot.png" "$SHOTS/e2e-close-end-screen.png"
check "the time goal brings the end screen" test "$ended" -eq 1
sleep 1
check "the end screen stays until Escape or a close" kill -0 "$GAME_PID"
close_and_wait "on the end screen" "$win"

finish 6
