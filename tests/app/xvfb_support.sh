# Shared steps of the tests that drive the program on a private X server;
# sourced by them after they set PL3, PROJECTGEN, OUT and SHOT (the name of
# the screenshot kept in OUT). Every wait has a time limit; only the
# processes started here are ended.

for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done

WORK=$(mktemp -d)
PROGRAM_PID=
XVFB_PID=
cleanup() {
  if [ -s "$WORK/shot.png" ] && mkdir -p "$OUT" && cp "$WORK/shot.png" "$OUT/$SHOT"; then
    echo "screenshot: $(cd "$OUT" && pwd)/$SHOT"
  fi
  [ -n "$PROGRAM_PID" ] && kill "$PROGRAM_PID" 2>/dev/null
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  [ -s "$WORK/program.out" ] && cat "$WORK/program.out"
  exit 1
}

# Waits until a command succeeds: wait_for TENTHS DESCRIPTION COMMAND...
wait_for() {
  limit=$1 what=$2
  shift 2
  n=0
  until "$@" >/dev/null 2>&1; do
    n=$((n + 1))
    [ $n -gt "$limit" ] && fail "$what"
    sleep 0.1
  done
}

start_xvfb() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  wait_for 100 "Xvfb did not start" test -s "$WORK/display"
  export DISPLAY=":$(head -n 1 "$WORK/display")"
  wait_for 50 "Xvfb did not answer" xdotool getmouselocation
  mkdir -p "$WORK/config"
  export XDG_CONFIG_HOME="$WORK/config" PL3_BACKEND=sdl SDL_VIDEODRIVER=x11
}

window_named() { xdotool search --name "$1" 2>/dev/null | head -n 1 | grep -q .; }
no_window_named() { ! window_named "$1"; }

# A first start finds no configuration file and says so in a box captioned
# "Error", whose OK takes Enter.
answer_first_start_box() {
  box=$(xdotool search --name "^Error$" 2>/dev/null | head -n 1)
  [ -n "$box" ] || return 0
  xdotool windowfocus "$box" 2>/dev/null
  sleep 0.2
  xdotool key Return
  sleep 0.3
}

# Starts the program and waits for its frame; sets X, Y, WIDTH, HEIGHT.
start_program() {
  "$PL3" "$@" >"$WORK/program.out" 2>&1 &
  PROGRAM_PID=$!
  n=0
  until grep -q "Pelmora 3 (sdl)" "$WORK/program.out"; do
    answer_first_start_box
    n=$((n + 1))
    [ $n -gt 300 ] && fail "the program did not start"
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended at start"
    sleep 0.1
  done
  wait_for 100 "no frame window on the screen" window_named "^Pelmora 3$"
  FRAME=$(xdotool search --name "^Pelmora 3$" | head -n 1)
  eval "$(xdotool getwindowgeometry --shell "$FRAME")"
  # The splash stands over the frame for a second; it takes clicks meant for the frame.
  sleep 0.5
  wait_for 100 "the splash stayed" no_window_named "^About Pelmora 3$"
  sleep 0.3
}

# Waits for the program to end by itself and checks that it ended with 0.
program_ended() { ! kill -0 "$PROGRAM_PID" 2>/dev/null; }
wait_for_exit() {
  wait_for 150 "the program did not end" program_ended
  wait "$PROGRAM_PID"
  rc=$?
  PROGRAM_PID=
  [ $rc -eq 0 ] || fail "the program ended with $rc"
}

# Opens the frame's "File" menu (the menu bar's first item; a document
# window maximised puts its system menu before it).
open_file_menu() {
  if [ "${1:-}" = document ]; then
    at=$((X + 33))
  else
    at=$((X + 15))
  fi
  xdotool mousemove "$at" $((Y + 9)) click 1
  wait_for 150 "the File menu did not open" menu_shown "$at"
}

# A drop-down menu stands below the menu bar item at x: a block of the menu's
# face colour where the panes and the board view show none. A busy program
# (a debug build on a loaded machine) takes its time; the test waits for it.
menu_shown() {
  import -window root "$WORK/menu.png" 2>/dev/null
  face=$(convert "$WORK/menu.png" -crop "80x100+$(($1 + 6))+$((Y + 26))" +repage -fill black +opaque "#F0F0F0" \
    -fill white -opaque "#F0F0F0" -format "%[fx:int(mean*w*h+0.5)]" info: 2>/dev/null)
  [ "${face:-0}" -gt 4000 ]
}

# XVFB_SHOTS names a folder that keeps every screenshot, numbered, for a look.
SHOTS=0
shoot() {
  import -window root "$WORK/shot.png" 2>/dev/null
  SHOTS=$((SHOTS + 1))
  [ -n "${XVFB_SHOTS:-}" ] && mkdir -p "$XVFB_SHOTS" && cp "$WORK/shot.png" "$XVFB_SHOTS/shot$SHOTS.png"
  return 0
}

# The board view: the black background inside the frame (black pixels
# white, the rest black, thinned by 4 pixels so that text strokes go, then
# its bounding box grown back), as VX VY VW VH in screen pixels.
find_view() {
  shoot
  geometry=$(convert "$WORK/shot.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -fill red -opaque black \
    -fill black +opaque red -fill white -opaque red -morphology Erode Square:4 -format "%@" info: 2>/dev/null)
  VW=$((${geometry%%x*} + 8))
  rest=${geometry#*x}
  VH=$((${rest%%+*} + 8))
  rest=${rest#*+}
  VX=$((X + ${rest%%+*} - 4))
  VY=$((Y + ${rest#*+} - 4))
  [ "${VW:-0}" -gt 100 ] && [ "${VH:-0}" -gt 100 ] || fail "no board view on the screen ($geometry)"
}

# Pixels of one colour (RRGGBB) in a part of the last screenshot: x y w h colour.
count_colour() {
  convert "$WORK/shot.png" -crop "$3x$4+$1+$2" +repage -fill black +opaque "#$5" -fill white -opaque "#$5" \
    -format "%[fx:int(mean*w*h+0.5)]" info: 2>/dev/null
}

# The commonest colour of the view but its black background and the white
# cross hairs, as "RRGGBB count" (the items drawn on the board).
view_colour() {
  convert "$WORK/shot.png" -crop "${VW}x${VH}+${VX}+${VY}" +repage -fill black -opaque white \
    -format %c histogram:info:- 2>/dev/null | sort -rn |
    sed -n 's/^ *\([0-9]*\):.*#\([0-9A-F]\{6\}\).*/\2 \1/p' | grep -v '^000000 ' | head -n 1
}

# No window manager runs on the private server: when a dialog goes nothing
# hands the keyboard back to the frame, as a window manager would. The test
# does it before it types into the frame.
focus_frame() {
  xdotool windowfocus "$FRAME" 2>/dev/null
  sleep 0.2
}

# Draws a straight track through "Insert", "Straight Track" between two
# points of the view, and ends the tool.
draw_track() {
  focus_frame
  # "Insert", the fifth item of a maximised board's menu bar; its menu takes "t".
  xdotool mousemove $((X + 182)) $((Y + 9)) click 1
  wait_for 150 "the Insert menu did not open" menu_shown $((X + 182))
  xdotool key t
  sleep 0.4
  xdotool mousemove "$1" "$2"
  sleep 0.2
  xdotool click 1
  sleep 0.3
  xdotool mousemove $((($1 + $3) / 2)) $((($2 + $4) / 2))
  sleep 0.2
  xdotool mousemove "$3" "$4"
  sleep 0.2
  xdotool click 1
  sleep 0.3
  xdotool key Escape
  sleep 0.3
  # The cursor's cross hairs leave the view with the mouse.
  xdotool mousemove $((X + 4)) $((Y + HEIGHT - 4))
  sleep 0.3
}

# The tracks of a board item saved in a container: "track <layer> x1 y1 x2 y2 w" lines.
list_tracks() { "$PROJECTGEN" tracks "$1" "$2" >"$WORK/tracks" || fail "the saved board could not be read"; }
track_count() { grep -c '^track ' "$WORK/tracks"; }
