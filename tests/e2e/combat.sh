#!/usr/bin/env bash
# The real binary under Xvfb: the emitter boxes stand at their sites, the
# first enemies are released after the interval, and a shot at an approaching
# enemy destroys it, explodes and changes the score digits.
source "$(dirname "$0")/common.sh" "$@"
xsession_start || exit 1

crate='r > 150 && g > 100 && b < 80 && r > g'
enemy='r > 200 && g < 60 && b > 90'
has_explosion() { grep -qE '^[0-9.e+-]+$' "$WORK/out"; }

start_game "$ASSETS"
launched=$(date +%s%N)
# Waits until $1 tenths of a second have passed since the launch.
wait_since_launch() {
  while [ $(( ($(date +%s%N) - launched) / 100000000 )) -lt "$1" ]; do sleep 0.2; done
}
win=$(game_window) || exit 1
check "window appears" test -n "$win"
xsession_focus "$win"
sleep 0.5
xsession_key D   # easy: one enemy per emitter every 10 s, one hit each, 10 points
sleep 1
# Mouse look starts at heading 0, pitch 20 (15 pixels a degree). Aim where
# the enemy from the emitter at (-200, -250) will walk through the laser's
# reach: heading 323.07, pitch 9 (in small moves, so none is clipped).
for _ in $(seq 9); do xdotool mousemove_relative -- -55 -16; sleep 0.1; done
xdotool mousemove_relative -- -59 -21

# The first release comes 10 s after start; wait until just after it.
wait_since_launch 115
xsession_shot "$WORK/released.png"
cp "$WORK/released.png" "$SHOTS/e2e-combat-released.png"
check "emitter box drawn at its site" test "$(count_where "$WORK/released.png" 80 40 345 218 "$crate")" -gt 200
check "six enemies released (kostr / 0)" test "$(grep -A1 -x kostr "$WORK/err" | grep -cx 0)" -eq 6

# The enemy has come out from behind its box and walks toward the player.
wait_since_launch 155
xsession_shot "$WORK/walking.png"
cp "$WORK/walking.png" "$SHOTS/e2e-combat-enemy.png"
check "released enemy drawn near the aim" test "$(count_where "$WORK/walking.png" 240 120 280 190 "$enemy")" -gt 20

# Hold the trigger (one shot a second) while the enemy walks into the aim:
# about 7 to 13 s after its release it is on the line and in the pitch band.
xdotool mousedown 1
for _ in $(seq 40); do
  has_explosion && break
  sleep 0.5
done
xdotool mouseup 1
sleep 0.5
xsession_shot "$WORK/hit.png"
cp "$WORK/hit.png" "$SHOTS/e2e-combat-hit.png"
check "a hit explodes (particle size lines)" has_explosion
# 10 points: 00000 becomes 00010, the tens cell changes, the others do not.
cell_changed() {   # cell_changed X: pixels that differ in the score cell at X
  convert "$WORK/released.png" -crop 36x40+$1+6 +repage "$WORK/cell-a.png"
  convert "$WORK/hit.png" -crop 36x40+$1+6 +repage "$WORK/cell-b.png"
  compare -metric AE "$WORK/cell-a.png" "$WORK/cell-b.png" null: 2>&1 | cut -d' ' -f1
}
check "the tens digit of the score changed" test "$(cell_changed 718)" -gt 10
check "the units and ten-thousands digits did not" test "$(( $(cell_changed 754) + $(cell_changed 606) ))" -eq 0

xsession_key Escape
wait_game 20
check "Escape exits 0" test "$GAME_STATUS" -eq 0
finish 8
