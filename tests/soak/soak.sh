#!/usr/bin/env bash
# Soak: the game built with AddressSanitizer, UBSan and leak checking plays
# under Xvfb for a set time with random input drawn from its own key table
# (every game key, mouse moves of every size, clicks), menus and restarts
# included: a few short sessions that start a game or quit from the menu,
# then one long session whose resident memory is sampled.
#
# Usage: tests/soak/soak.sh [SECONDS] [SEED]      (defaults: 60, 1)
# The same seed gives the same input; every event goes to soak-input.log in
# the sanitizer build folder (build-asan/, or ORBITOR_SOAK_BUILD).
#
# Passes when: no sanitizer report, every session's window keeps answering
# (a key that prints a line is answered within a deadline), Escape (or Quit)
# ends each session with exit 0, and the long session's resident memory
# after its first minute grows by less than 5 MB (checked when the long
# session lasts 3 minutes or more: SECONDS of 225 and up).
TOTAL="${1:-60}"
SEED="${2:-1}"
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
ASAN_BUILD="${ORBITOR_SOAK_BUILD:-$ROOT/build-asan}"
RSS_LIMIT_KB=5120
ANSWER_DEADLINE=30      # seconds for the window to answer a probe
EXIT_DEADLINE=60        # seconds for Escape to end the game

# --- The sanitizer build ----------------------------------------------------
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S "$ROOT" -B "$ASAN_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORBITOR_SANITIZE=ON -DORBITOR_TESTS=OFF "${launcher[@]}" >/dev/null || exit 1
cmake --build "$ASAN_BUILD" -j 2 --target orbitor >/dev/null || { echo "FAILED: sanitizer build"; exit 1; }

source "$ROOT/tests/e2e/common.sh" "$ASAN_BUILD/orbitor" "$ASAN_BUILD/assets" "$ASAN_BUILD"
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:quarantine_size_mb=16"
export LSAN_OPTIONS="suppressions=$ROOT/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Mesa's driver is unloaded at glfwTerminate, and the leak check after that
# could not name its frames: keep it loaded so that its suppression matches.
GAME_PRELOAD=$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -n 1)
[ -n "$GAME_PRELOAD" ] && ASAN_OPTIONS="$ASAN_OPTIONS:verify_asan_link_order=0"
INPUT_LOG="$ASAN_BUILD/soak-input.log"
LOGS="$ASAN_BUILD/soak-logs"
mkdir -p "$LOGS"
: >"$INPUT_LOG"
RANDOM="$SEED"
ran=0
counted_check() { ran=$((ran + 1)); check "$@"; }
note() { echo "$*" >>"$INPUT_LOG"; }
# pick VAR LIST: a random element of the array LIST into VAR (no subshell:
# bash seeds $RANDOM afresh in each one, which would lose the seed).
pick() { local -n out_="$1" list_="$2"; out_="${list_[RANDOM % ${#list_[@]}]}"; }

xsession_start || exit 1

# --- Input -------------------------------------------------------------------
# The game's keys (xdotool names): walking and view, modes, tuning, pause,
# F2-F9 switches. F1 is handled apart so that a pause always ends.
GAME_KEYS=(w a s d q e x y e t g h v b l m n p F2 F3 F4 F5 F6 F7 F8 F9)
MOVE_KEYS=(w a s d q e x y)
HOLDS=(0.03 0.08 0.2 0.5 1.0 2.0)
MOVES=(1 2 5 13 40 120 400 1500 6000)
BUTTONS=(1 1 1 2 3)
paused=0

press() {   # press KEY HOLD
  note "key $1 $2"
  xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"
}

toggle_pause() {
  note "key F1"
  xdotool key F1
  paused=$((1 - paused))
}

random_event() {
  local r=$((RANDOM % 100)) a b k h
  if [ "$paused" -eq 1 ] && [ $((RANDOM % 3)) -eq 0 ]; then
    toggle_pause
  elif [ "$r" -lt 45 ]; then
    pick k GAME_KEYS; pick h HOLDS
    press "$k" "$h"
  elif [ "$r" -lt 52 ]; then            # two walking keys held together
    pick a MOVE_KEYS; pick b MOVE_KEYS; pick h HOLDS
    note "chord $a $b $h"
    xdotool keydown "$a" keydown "$b"; sleep "$h"; xdotool keyup "$a" keyup "$b"
  elif [ "$r" -lt 80 ]; then
    pick a MOVES; pick b MOVES
    [ $((RANDOM % 2)) -eq 0 ] && a=$((-a))
    [ $((RANDOM % 2)) -eq 0 ] && b=$((-b))
    [ $((RANDOM % 4)) -eq 0 ] && b=0
    note "move $a $b"
    xdotool mousemove_relative -- "$a" "$b"
  elif [ "$r" -lt 97 ]; then
    pick a BUTTONS; pick h HOLDS
    note "click $a $h"
    xdotool mousedown "$a"; sleep "$h"; xdotool mouseup "$a"
  else
    toggle_pause
  fi
  sleep "0.0$((RANDOM % 10))"
}

# The title menu: random moves over the items and the goal page (D only
# where it changes a page or the difficulty), then Start or Quit.
menu_cursor=0
in_goal=0
menu_key() {
  note "menu $1"
  xsession_key "$1" 0.05
  case "$1" in
    w) [ "$in_goal" -eq 0 ] && [ "$menu_cursor" -gt 0 ] && menu_cursor=$((menu_cursor - 1)) ;;
    s) [ "$in_goal" -eq 0 ] && [ "$menu_cursor" -lt 3 ] && menu_cursor=$((menu_cursor + 1)) ;;
    a) in_goal=0 ;;
    d) [ "$in_goal" -eq 0 ] && [ "$menu_cursor" -eq 1 ] && in_goal=1 ;;
  esac
  return 0
}

play_menu() {   # play_menu start|quit
  local n count=$((3 + RANDOM % 12))
  menu_cursor=0; in_goal=0
  for n in $(seq "$count"); do
    case $((RANDOM % 4)) in
      0) menu_key w ;; 1) menu_key s ;; 2) menu_key a ;;
      3) { [ "$in_goal" -eq 1 ] || [ "$menu_cursor" -eq 1 ] || [ "$menu_cursor" -eq 2 ]; } && menu_key d ;;
    esac
  done
  menu_key a
  if [ "$1" = quit ]; then
    while [ "$menu_cursor" -lt 3 ]; do menu_key s; done
  else
    while [ "$menu_cursor" -gt 0 ]; do menu_key w; done
  fi
  menu_key d
}

# --- Checks ------------------------------------------------------------------
sanitizer_report() { grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY: [A-Za-z]*Sanitizer' "$WORK/err"; }
no_sanitizer_report() { ! sanitizer_report; }

# N (the beach's culling radius) prints its value on press and on release, in
# play, paused and on the end screen alike: two new lines mean the window answered.
window_answers() {
  local before after
  before=$(wc -l <"$WORK/out")
  note "probe n"
  xdotool key n
  for _ in $(seq $((ANSWER_DEADLINE * 10))); do
    after=$(wc -l <"$WORK/out")
    [ "$after" -ge $((before + 2)) ] && return 0
    kill -0 "$GAME_PID" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$GAME_PID/status" 2>/dev/null; }

# Ends a session and checks how it ended.
end_session() {   # end_session NAME
  local name="$1"
  if kill -0 "$GAME_PID" 2>/dev/null; then
    [ "$paused" -eq 1 ] && toggle_pause
    note "key Escape (held until the game ends)"
    xdotool keydown Escape
    wait_game "$EXIT_DEADLINE"
    xdotool keyup Escape
  else
    wait_game 1
  fi
  counted_check "$name: exit 0" test "$GAME_STATUS" -eq 0
  counted_check "$name: no sanitizer report" no_sanitizer_report
  if [ "$GAME_STATUS" -ne 0 ] || sanitizer_report; then
    cp "$WORK/out" "$LOGS/$name.out"; cp "$WORK/err" "$LOGS/$name.err"
    echo "  (logs in $LOGS/$name.out and .err; input in $INPUT_LOG)"
    grep -E -A 30 'ERROR: |runtime error:' "$WORK/err" | head -n 40
  fi
}

# Starts a session and gets through the menu; returns 1 when no game runs.
begin_session() {   # begin_session NAME start|quit
  note "== $1"
  LD_PRELOAD="$GAME_PRELOAD" start_game "$ASSETS"
  local win
  win=$(game_window) || { counted_check "$1: window opens" false; return 1; }
  xsession_focus "$win"
  paused=0
  play_menu "$2"
  [ "$2" = quit ] && return 1
  # Game set-up makes the emitters, whose trace value -1 goes to stderr.
  for _ in $(seq 600); do
    grep -qx -- -1 "$WORK/err" && return 0
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.1
  done
  counted_check "$1: the game starts from the menu" false
  return 1
}

# Milliseconds since the epoch.
now_ms() { local t="${EPOCHREALTIME/./}"; echo $(( t / 1000 )); }

# Plays random input for $2 seconds; probes the window every 10 s and, with
# $3 = rss, samples resident memory every 5 s into $WORK/rss (seconds, kB).
play_session() {   # play_session NAME SECONDS [rss]
  local name="$1" length=$(( $2 * 1000 )) start now next_probe=10000 next_sample=0 answered=1
  start=$(now_ms)
  : >"$WORK/rss"
  while :; do
    now=$(( $(now_ms) - start ))
    [ "$now" -ge "$length" ] && break
    kill -0 "$GAME_PID" 2>/dev/null || break
    if [ "${3:-}" = rss ] && [ "$now" -ge "$next_sample" ]; then
      echo "$(( now / 1000 )) $(rss_kb)" >>"$WORK/rss"
      next_sample=$(( next_sample + 5000 ))
    fi
    if [ "$now" -ge "$next_probe" ]; then
      window_answers || { answered=0; break; }
      next_probe=$(( $(now_ms) - start + 10000 ))
    fi
    random_event
  done
  window_answers || answered=0
  counted_check "$name: the window answers throughout" test "$answered" -eq 1
  [ "${3:-}" = rss ] && echo "$(( ($(now_ms) - start) / 1000 )) $(rss_kb)" >>"$WORK/rss"
}

# Resident memory of the long session: the highest figure of its first
# minute against the highest of its last minute. A session shorter than three
# minutes has no settled first minute (features are first used and the
# sanitizer's quarantine fills): its figures, over thirds, are only printed.
judge_memory() {
  local length="$1" window first last growth
  window=$(( length < 180 ? length / 3 : 60 ))
  first=$(awk -v w="$window" '$2 != "" && $1 <= w { if ($2 > m) m = $2 } END { print m + 0 }' "$WORK/rss")
  last=$(awk -v w="$window" -v e="$length" '$2 != "" && $1 >= e - w { if ($2 > m) m = $2 } END { print m + 0 }' "$WORK/rss")
  growth=$((last - first))
  cp "$WORK/rss" "$LOGS/rss.txt"
  echo "resident memory: first ${window} s up to ${first} kB, last ${window} s up to ${last} kB, growth ${growth} kB ($(wc -l <"$WORK/rss") samples in $LOGS/rss.txt)"
  if [ "$length" -ge 180 ]; then
    counted_check "memory grows by less than 5 MB after the first minute" test "$first" -gt 0 -a "$growth" -lt "$RSS_LIMIT_KB"
  else
    echo "(a session under 3 minutes: memory figures only)"
  fi
}

# --- The soak ------------------------------------------------------------------
# SECONDS of play: two short sessions of a tenth each (5 s to 2 min) and the
# long one with the rest; before them a session that quits from the menu.
began=$(date +%s)
short=$(( TOTAL / 10 )); [ "$short" -lt 5 ] && short=5; [ "$short" -gt 120 ] && short=120
long=$(( TOTAL - 2 * short )); [ "$long" -lt 30 ] && long=30
echo "soak: ${TOTAL} s of play (2 x ${short} s, then ${long} s), seed ${SEED}"
begin_session quit-from-menu quit; end_session quit-from-menu
for i in 1 2; do
  if begin_session "short-$i" start; then play_session "short-$i" "$short"; fi
  end_session "short-$i"
done
if begin_session long start; then
  play_session long "$long" rss
  judge_memory "$long"
fi
end_session long
echo "soak took $(( $(date +%s) - began )) s; $(grep -c . "$INPUT_LOG") input events"
finish "$ran"
