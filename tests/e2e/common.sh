# Shared by the end-to-end scripts: arguments, a private X display, checks.
# Usage from a script: source "$(dirname "$0")/common.sh" "$@"
set -uo pipefail
BINARY="$1"
ASSETS="$2"
BUILD="$3"
SHOTS="$BUILD/screenshots"
mkdir -p "$SHOTS"
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xsession.sh"
export SDL_AUDIODRIVER=dummy
WORK=$(mktemp -d)
failures=0
trap 'kill -KILL ${GAME_PID:-} 2>/dev/null; xsession_stop; rm -rf "$WORK"' EXIT

check() {   # check "what" command...
  local what="$1"; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

# Starts the game in directory $1 (with the further arguments as its options)
# with output into $WORK/out and $WORK/err. On a freshly started Xvfb the
# window is now and then refused at once ("Could not create window", exit 1)
# although the server answers; such a start is said on stderr and made again,
# at most twice. Any other start is left to the script's checks.
start_game() {
  local dir="$1"; shift
  local attempt
  for attempt in 1 2 3; do
    rm -f "$WORK/glfw.log"
    (cd "$dir" && ORBITOR_GLFW_LOG="$WORK/glfw.log" exec "$BINARY" "$@") >"$WORK/out" 2>"$WORK/err" &
    GAME_PID=$!
    for _ in $(seq 150); do
      grep -q '^kostr$' "$WORK/err" 2>/dev/null && return 0
      kill -0 "$GAME_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill -0 "$GAME_PID" 2>/dev/null && return 0
    [ -n "${DISPLAY:-}" ] && [ "$(head -n 1 "$WORK/err")" = "Could not create window" ] || return 0
    wait "$GAME_PID" 2>/dev/null
    echo "note: the window was refused on $DISPLAY (start $attempt): $(cat "$WORK/glfw.log" 2>/dev/null | tr '\n' ' ')starting again" >&2
  done
}

# Waits up to $1 seconds for the game to exit; sets GAME_STATUS (124 on time-out).
wait_game() {
  local limit="${1:-20}"
  for _ in $(seq $((limit * 10))); do
    if ! kill -0 "$GAME_PID" 2>/dev/null; then
      wait "$GAME_PID"; GAME_STATUS=$?; return 0
    fi
    sleep 0.1
  done
  # KILL: the sound library catches SIGTERM and the game would live on.
  kill -KILL "$GAME_PID" 2>/dev/null; wait "$GAME_PID" 2>/dev/null
  GAME_STATUS=124
}

# The game's window, or stop the script with what the game printed.
game_window() {
  local id
  id=$(xsession_wait_window 60) && { echo "$id"; return 0; }
  echo "FAILED: no game window on $DISPLAY; the game printed:" >&2
  tail -n 20 "$WORK/out" "$WORK/err" >&2
  kill -0 "$GAME_PID" 2>/dev/null && echo "(the game is still running)" >&2
  return 1
}

finish() {
  echo "$(( $1 - failures )) passed, $failures failed"
  [ "$failures" -eq 0 ]
  exit $?
}

# Pixels of a screenshot rectangle whose colour satisfies an awk condition
# on r, g, b (0..255): count_where FILE W H X Y 'r > 200 && b > 150'
count_where() {
  convert "$1" -crop "$2x$3+$4+$5" +repage -depth 8 txt:- 2>/dev/null |
    sed -n 's/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' |
    awk "{ r = \$1; g = \$2; b = \$3; if ($6) n++ } END { print n + 0 }"
}
