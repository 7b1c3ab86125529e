#!/usr/bin/env bash
# Every asset damaged in turn: for each file of the generated pack, four
# damages in a scratch copy of the asset folder (missing, empty, cut to half
# its size, random bytes of the same size), then the real binary plays there
# under Xvfb: start, walk, fire, environment view, escape mode, Escape.
# Passes when every run exits 0 in time and a damaged texture says "problem"
# (a sound or the model that cannot be used means silence or no character).
#
# Usage: damage.sh BINARY ASSETS BUILD [all | FILE:DAMAGE ...] [SEED]
# With no cases, a fixed handful runs; "all" runs every file with every damage.
source "$(dirname "$0")/../e2e/common.sh" "$@"
shift 3
SEED="${SEED:-14}"
EXIT_DEADLINE=60
DAMAGES=(missing empty half random)

cases=("$@")
if [ ${#cases[@]} -eq 0 ]; then
  cases=(Textures/sp1.tga:half Modells/tris.md2:random Sound/laserfire3.wav:empty
         Textures/spHelp.tga:missing Textures/water3_COLOR.tga:random Sound/explosion.mp3:random
         Sound/UFO.mid:half Sound/orbitor.sf2:random)
elif [ "${cases[0]}" = all ]; then
  cases=()
  while read -r file; do
    for d in "${DAMAGES[@]}"; do cases+=("$file:$d"); done
  done < <(cd "$ASSETS" && find . -type f ! -name '.*' | sed 's|^\./||' | sort)
fi

# Random bytes from the seed and the file's name, so a run can be repeated.
random_bytes() {   # random_bytes COUNT NAME
  LC_ALL=C awk -v n="$1" -v s="$(printf '%s' "$SEED$2" | cksum | cut -d' ' -f1)" \
    'BEGIN { srand(s); for (i = 0; i < n; i++) printf "%c", int(rand() * 256) }'
}

# A scratch pack (hard links: nothing of the original is written) with one
# file damaged; the damaged file is always a new file.
damaged_pack() {   # damaged_pack FILE DAMAGE -> $WORK/pack
  local file="$1" size
  rm -rf "$WORK/pack"
  cp -al "$ASSETS" "$WORK/pack"
  size=$(stat -c %s "$ASSETS/$file")
  rm -f "$WORK/pack/$file"
  case "$2" in
    missing) ;;
    empty) : >"$WORK/pack/$file" ;;
    half) head -c $((size / 2)) "$ASSETS/$file" >"$WORK/pack/$file" ;;
    random) random_bytes "$size" "$file" >"$WORK/pack/$file" ;;
  esac
}

xsession_start || exit 1

# Start (the menu's first item), walk, fire, the environment view on and
# off, escape mode with the tunnel texture, then Escape held until the end.
play_briefly() {
  local win
  win=$(game_window) || return 1
  xsession_focus "$win"
  sleep 0.5
  xsession_key d
  for _ in $(seq 300); do
    grep -qx -- -1 "$WORK/err" && break
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.1
  done
  xsession_key w 0.8
  xdotool mousemove_relative -- 40 -10
  xdotool click 1
  sleep 0.3
  xsession_key t; sleep 0.5; xsession_key t
  xsession_key e; xsession_key w 0.5; xsession_key t; sleep 0.5; xsession_key e
  xdotool keydown Escape
  wait_game "$EXIT_DEADLINE"
  xdotool keyup Escape
}

passed=0
failed_cases=()
for c in "${cases[@]}"; do
  file="${c%:*}"
  damage="${c##*:}"
  damaged_pack "$file" "$damage"
  start_game "$WORK/pack"
  if play_briefly; then status=$GAME_STATUS; else status=no-window; fi
  problems=$(grep -cx problem "$WORK/out")
  ok=1
  [ "$status" = 0 ] || ok=0
  case "$file" in *.tga) [ "$problems" -ge 1 ] || ok=0 ;; esac
  # A damaged sound is named once at most, and nothing floods standard error.
  case "$file" in
    *.wav|*.mp3|*.mid|*.sf2)
      [ "$(grep -c '^Sound file damaged' "$WORK/err")" -le 1 ] || ok=0
      [ "$(wc -l <"$WORK/err")" -lt 1000 ] || ok=0 ;;
  esac
  line="$file $damage: exit $status, $problems problem line(s), $(wc -l <"$WORK/err") stderr lines"
  if [ "$ok" -eq 1 ]; then
    passed=$((passed + 1)); echo "ok: $line"
  else
    failures=$((failures + 1)); failed_cases+=("$c"); echo "FAILED: $line"
    mkdir -p "$BUILD/damage-logs"
    cp "$WORK/out" "$BUILD/damage-logs/${file//\//_}.$damage.out"
    tail -c 20000 "$WORK/err" >"$BUILD/damage-logs/${file//\//_}.$damage.err"
    tail -n 5 "$WORK/err"
  fi
done
[ ${#failed_cases[@]} -gt 0 ] && echo "failed cases: ${failed_cases[*]}"
finish "${#cases[@]}"
