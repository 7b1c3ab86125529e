#!/usr/bin/env bash
# The scripted demo: drives the real game on a private virtual display (Xvfb)
# with xdotool and photographs it: the title page, play, an explosion, the
# mirror-sphere chaser and escape mode.
#   scripts/demo.sh BINARY ASSET_DIR OUTPUT_DIR
# Writes OUTPUT_DIR/{title,play,explosion,mirror-sphere,escape}.png (800x600)
# and the game's console output as OUTPUT_DIR/demo.out and demo.err.
# Takes about a minute and a half: the chaser comes sixty seconds after start.
set -euo pipefail
binary="$(realpath "$1")"; assets="$2"; out="$(mkdir -p "$3" && realpath "$3")"
source "$(dirname "${BASH_SOURCE[0]}")/xsession.sh"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"

xsession_start
game=""
# (The game outlives SIGTERM, which the sound library catches: hence KILL.)
trap '[ -n "$game" ] && kill -KILL "$game" 2>/dev/null; xsession_stop' EXIT
(cd "$assets" && exec "$binary") >"$out/demo.out" 2>"$out/demo.err" &
game=$!
launched=$(date +%s%N)
# Waits until $1 tenths of a second have passed since the launch.
wait_until() {
  while [ $(( ($(date +%s%N) - launched) / 100000000 )) -lt "$1" ]; do sleep 0.1; done
}
step() { echo "  demo: $*"; }

win=$(xsession_wait_window 30)
xsession_focus "$win"
sleep 1
xsession_shot "$out/title.png"
step "title page"

# The chaser's clock runs from the start of the program, so it enters on the
# first frame of play once a minute has passed in the menu. Every emitter
# then releases its first enemy at once as well.
step "waiting a minute in the menu for the chaser"
wait_until 605
# The chaser enters 100 units straight ahead, on the ground, and rolls
# toward the player within a second or two; straight ahead it would hide
# behind the player's head. Mouse look counts from where the cursor stands
# when play begins, so a move in the menu turns the first view: 11 degrees
# left and 8 up (15 pixels a degree), and the chaser shows beside the head.
xdotool mousemove_relative -- -165 -120
sleep 0.5
xsession_key D                        # Start game (easy)
# Game set-up makes the six emitters (trace value -1 each on stderr); the
# first frame follows.
for _ in $(seq 200); do
  [ "$(grep -cx -- -1 "$out/demo.err")" -ge 12 ] && break
  sleep 0.02
done
sleep 0.15
xsession_shot "$out/mirror-sphere.png"
step "the mirror sphere"

# Aim where the enemy from the emitter at (-200, -250) walks into the
# laser's reach: heading 323, pitch 9 (in small moves, so none is clipped).
xdotool mousemove_relative -- 165 120
sleep 0.2
for _ in $(seq 9); do xdotool mousemove_relative -- -55 -16; sleep 0.1; done
xdotool mousemove_relative -- -59 -21
sleep 5
xsession_shot "$out/play.png"
step "play: an enemy walking toward the player"

# Hold the trigger (one shot a second). Each explosion step prints a number,
# so while new numbers come a burst is on screen: photograph it until a
# picture shows markedly more fire-yellow pixels (per thousand) than the
# picture before the shooting; a burst missed is followed by the next hit.
steps() { grep -cE '^[0-9.e+-]+$' "$out/demo.out" || true; }
exploding() { [ "$(steps)" -gt 0 ]; }
fire() { convert "$1" -fuzz 25% -fill black +opaque '#ffff00' -colorspace gray -threshold 50% -format '%[fx:mean * 1000]' info:; }
calm=$(fire "$out/play.png")
rm -f "$out/explosion.png"
seen=0
xdotool mousedown 1
for _ in $(seq 600); do
  now=$(steps)
  if [ "$now" -gt "$seen" ]; then
    seen=$now
    xsession_shot "$out/burst.png"
    if awk -v a="$(fire "$out/burst.png")" -v b="$calm" 'BEGIN { exit !(a > b + 1.5) }'; then
      mv "$out/burst.png" "$out/explosion.png"
      break
    fi
  else
    sleep 0.05
  fi
done
xdotool mouseup 1
[ -e "$out/explosion.png" ] || mv "$out/burst.png" "$out/explosion.png" 2>/dev/null || xsession_shot "$out/explosion.png"
if exploding; then step "an explosion"; else step "no hit (the explosion picture shows none)"; fi

# Escape mode: double steps under the motion-blurred tunnel view; walk and
# turn so the blur shows.
xsession_key E
xdotool keydown W
for _ in $(seq 8); do xdotool mousemove_relative -- 40 0; sleep 0.1; done
xsession_shot "$out/escape.png"
xdotool keyup W
step "escape mode"

# Escape leaves the game (or, once the lives have run out, the end screen).
for _ in 1 2 3 4 5; do
  xsession_key Escape
  sleep 2
  kill -0 "$game" 2>/dev/null || break
done
status=0
wait "$game" || status=$?
game=""
step "the game ended with exit status $status"
exit "$status"
