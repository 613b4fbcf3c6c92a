# Shared by the checks that run a program in a real X window under Xvfb; sourced.

# Starts Xvfb on the display (1024 x 768, 24 bits), sets DISPLAY and the pid in
# $xvfb, and waits until the server answers. Without a window manager SDL would
# drop a click that comes just after the focus, so click-through is turned on.
start_xvfb() {
  Xvfb "$1" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=$1
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  export SDL_MOUSE_FOCUS_CLICKTHROUGH=1
}

# Prints the id of the window with the name once it is shown, focused and settled.
wait_for_window() {
  local window
  window=$(timeout 10 xdotool search --sync --name "$1" | head -1)
  xdotool windowfocus --sync "$window" || true
  sleep 0.5
  echo "$window"
}
