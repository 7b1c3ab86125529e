# Sourced by ./play's demo and the end-to-end tests: a private Xvfb display
# and small helpers to find, focus, drive and photograph the game's window.

# Starts Xvfb (24-bit, 800x600 or the size given as $1, e.g. 1280x1024) on the
# first free display; sets DISPLAY and XVFB_PID.
xsession_start() {
  local n size="${1:-800x600}"
  for n in $(seq 90 140); do
    [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ] && continue
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 50); do
      # Ours only if our server is still running (another may own :$n).
      kill -0 "$XVFB_PID" 2>/dev/null || break
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then
        export DISPLAY=":$n"
        return 0
      fi
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null || true
  done
  echo "could not start Xvfb" >&2
  return 1
}

xsession_stop() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
  wait "${XVFB_PID:-}" 2>/dev/null || true
}

# Waits (up to $1 seconds) for a window titled "Orbitor!"; prints its id.
xsession_wait_window() {
  local limit="${1:-20}" id=""
  for _ in $(seq $((limit * 10))); do
    id=$(xdotool search --name '^Orbitor!$' 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  return 1
}

# The full-screen window starts without focus under Xvfb: focus it first.
# (--sync can wait for ever when focus does not arrive, hence the time limit.)
xsession_focus() {
  timeout 5 xdotool windowfocus --sync "$1" >/dev/null 2>&1 || xdotool windowfocus "$1" >/dev/null 2>&1 || true
  sleep 0.2
}

# Key down, hold for $2 seconds (default a tap), key up.
xsession_key() {
  xdotool keydown "$1"; sleep "${2:-0.15}"; xdotool keyup "$1"; sleep 0.15
}

# Screenshot of the whole screen as a PNG.
xsession_shot() {
  import -window root "$1" 2>/dev/null
}
