#!/bin/sh
# End-to-end check of the real-window backend: starts a private X server,
# runs the window demo on it, reads the screen, clicks into the window with
# xdotool and reads the screen again, then opens the demo's "File" menu from
# its bar and chooses its first item, which opens the real open dialog, and
# types a name into it. The last screenshot is kept as
# xvfb_window_check.png in OUTPUT_DIR (default: the current folder), passed or
# failed, and its path is printed.
#   usage: xvfb_window_check.sh PATH_TO_pl3_window_demo [OUTPUT_DIR]
# Exit 0 passed, 1 failed, 77 skipped (Xvfb, xdotool or ImageMagick missing).
set -u
DEMO=${1:?usage: xvfb_window_check.sh PATH_TO_pl3_window_demo [OUTPUT_DIR]}
OUT=${2:-.}
for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done

WORK=$(mktemp -d)
# The server picks a free display itself and writes its number when ready:
# a number chosen here could be taken by another server starting meanwhile.
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
XPID=$!
DPID=
cleanup() {
  if [ -s "$WORK/shot.png" ] && mkdir -p "$OUT" && cp "$WORK/shot.png" "$OUT/xvfb_window_check.png"; then
    echo "screenshot: $(cd "$OUT" && pwd)/xvfb_window_check.png"
  fi
  [ -n "$DPID" ] && kill "$DPID" 2>/dev/null
  kill "$XPID" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
i=0
until [ -s "$WORK/display" ]; do
  i=$((i + 1)); [ $i -gt 100 ] && { echo "FAIL: Xvfb did not start"; cat "$WORK/xvfb.log"; exit 1; }
  sleep 0.05
done
export DISPLAY=":$(head -n 1 "$WORK/display")"

# Wait for the server, then for the demo's window.
i=0
until xdotool getmouselocation >/dev/null 2>&1; do
  i=$((i + 1)); [ $i -gt 50 ] && { echo "FAIL: Xvfb did not start"; cat "$WORK/xvfb.log"; exit 1; }
  sleep 0.1
done
mkdir "$WORK/files"
start_demo() {
  (cd "$WORK/files" && exec env PL3_BACKEND=sdl SDL_VIDEODRIVER=x11 "$DEMO" --quit-after 20000) >"$WORK/demo.out" 2>&1 &
  DPID=$!
}
start_demo
# On a heavily loaded machine the first connection of a fresh server is
# sometimes refused; one more start tells that apart from a real failure.
i=0
while kill -0 "$DPID" 2>/dev/null && [ ! -s "$WORK/demo.out" ] && [ $i -lt 50 ]; do i=$((i + 1)); sleep 0.1; done
if grep -q "no display could be opened" "$WORK/demo.out"; then
  wait "$DPID" 2>/dev/null
  sleep 0.5
  start_demo
fi

pixel() {  # x y -> "r,g,b" of the screen
  import -window root "$WORK/shot.png" 2>/dev/null || return 1
  convert "$WORK/shot.png" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info: 2>/dev/null
}

wait_pixel() {  # x y expected
  i=0
  while [ $i -lt 50 ]; do
    [ "$(pixel "$1" "$2")" = "$3" ] && return 0
    i=$((i + 1)); sleep 0.1
  done
  return 1
}

wait_pixel 70 70 "0,0,255" || { echo "FAIL: the blue square is not on screen (got $(pixel 70 70))"; cat "$WORK/demo.out"; exit 1; }
[ "$(pixel 200 150)" = "255,255,255" ] || { echo "FAIL: the background is not white"; exit 1; }

xdotool mousemove 200 150 click 1
wait_pixel 200 150 "255,0,0" || { echo "FAIL: the click did not paint the red mark (got $(pixel 200 150))"; cat "$WORK/demo.out"; exit 1; }
# The menu bar (20 pixels) sits above the client area.
grep -q "click 200 130" "$WORK/demo.out" || { echo "FAIL: the demo did not report the click"; cat "$WORK/demo.out"; exit 1; }
[ "$(pixel 70 70)" = "0,0,255" ] || { echo "FAIL: the blue square was lost"; exit 1; }
echo "passed: window shown, click received and drawn"

# ---- Step: typed text ----------------------------------------------------------
# "é€" typed into the demo's edit control arrives in the program's code page,
# Windows-1252: 0xE9 0x80.
xdotool mousemove 200 40 click 1  # the edit, below the 20-pixel menu bar
i=0
until grep -q "^edit focus$" "$WORK/demo.out"; do
  i=$((i + 1)); [ $i -gt 50 ] && { echo "FAIL: the edit did not take the focus"; cat "$WORK/demo.out"; exit 1; }
  sleep 0.1
done
# xdotool maps each character to a spare key code for the time of its stroke;
# a slow stroke gives the program time to read the new mapping first. On a
# loaded machine the mapping can still change back before the program reads
# it, and the stroke is lost: then the edit is emptied and the text typed
# again, at most three times. Every change prints the whole edit text, so a
# line "edit e9 80" means the edit held exactly that.
typed=no
for attempt in 1 2 3; do
  [ $attempt -gt 1 ] && xdotool key --delay 100 End BackSpace BackSpace BackSpace BackSpace
  xdotool type --delay 150 "é€"
  i=0
  until grep -q "^edit e9 80$" "$WORK/demo.out"; do
    i=$((i + 1)); [ $i -gt 50 ] && break
    sleep 0.1
  done
  grep -q "^edit e9 80$" "$WORK/demo.out" && { typed=yes; break; }
done
[ $typed = yes ] || { echo "FAIL: typed text did not arrive as e9 80"; cat "$WORK/demo.out"; exit 1; }
echo "passed: typed text arrived in Windows-1252"
# ---- End of step: typed text ---------------------------------------------------

# ---- Step: capture -------------------------------------------------------------
# A drag that leaves the 320 x 240 window still reports to it: the demo
# captures the mouse on the press and reports where the release happened.
xdotool mousemove 150 150 mousedown 1 mousemove 300 200 mousemove 450 350 mouseup 1
i=0
until grep -q "^release 450 330$" "$WORK/demo.out"; do
  i=$((i + 1)); [ $i -gt 50 ] && { echo "FAIL: the release outside the window did not reach it"; cat "$WORK/demo.out"; exit 1; }
  sleep 0.1
done
echo "passed: a drag outside the window reported to the capture"
# ---- End of step: capture ------------------------------------------------------

# ---- Step: cursor warp ---------------------------------------------------------
# SetCursorPos queues one mouse move; the motion the host reports for the warp
# is not a second one.
xdotool mousemove 250 200 click 3
i=0
until grep -q "^warp moves" "$WORK/demo.out"; do
  i=$((i + 1)); [ $i -gt 50 ] && { echo "FAIL: the warp was not reported"; cat "$WORK/demo.out"; exit 1; }
  sleep 0.1
done
grep -q "^warp moves 1$" "$WORK/demo.out" || { echo "FAIL: a warp made $(grep "^warp moves" "$WORK/demo.out")"; exit 1; }
echo "passed: a cursor warp made one mouse move"
# ---- End of step: cursor warp --------------------------------------------------

# ---- Step: menu ----------------------------------------------------------------
# "File" on the bar opens its pop-up below it, over the white client area.
[ "$(pixel 250 8)" = "240,240,240" ] || { echo "FAIL: no menu bar (got $(pixel 250 8))"; exit 1; }
# The pointer comes back from where the steps above left it, and moves once
# inside before the press: SDL reports a press with the last position it saw
# moving in the window.
xdotool mousemove 20 12
sleep 0.2
xdotool mousemove 15 10
sleep 0.2
xdotool click 1
wait_pixel 115 26 "240,240,240" || { echo "FAIL: the pop-up did not show (got $(pixel 115 26))"; cat "$WORK/demo.out"; exit 1; }
xdotool mousemove 40 33 click 1
i=0
until grep -q "command 101" "$WORK/demo.out"; do
  i=$((i + 1)); [ $i -gt 50 ] && { echo "FAIL: the chosen command was not reported"; cat "$WORK/demo.out"; exit 1; }
  sleep 0.1
done
echo "passed: the File menu opened from the bar and its command was reported"
# ---- End of step: menu ---------------------------------------------------------

# ---- Step: open dialog -----------------------------------------------------------
# The command opened the real open dialog; a name typed into it and Enter
# come back as the chosen path in the demo's folder, with the default
# extension.
i=0
until DLG=$(xdotool search --name "^Open$" 2>/dev/null | head -n 1) && [ -n "$DLG" ]; do
  i=$((i + 1)); [ $i -gt 50 ] && { echo "FAIL: the open dialog did not show"; cat "$WORK/demo.out"; exit 1; }
  sleep 0.1
done
xdotool windowfocus --sync "$DLG" 2>/dev/null || xdotool windowfocus "$DLG"
sleep 0.3
xdotool type --delay 60 "chosen"
xdotool key Return
i=0
until grep -q '^open C:.*\\chosen\.p3p$' "$WORK/demo.out"; do
  i=$((i + 1)); [ $i -gt 50 ] && { echo "FAIL: the typed name did not come back as the chosen path"; cat "$WORK/demo.out"; exit 1; }
  sleep 0.1
done
# Neither the pop-up nor the dialog stays on screen.
wait_pixel 115 26 "255,255,255" || { echo "FAIL: the pop-up or the dialog stayed on screen (got $(pixel 115 26))"; exit 1; }
# The focus goes back to the demo's window for the steps below.
xdotool windowfocus "$(xdotool search --name "^Pelmora Demo$" | head -n 1)" 2>/dev/null
echo "passed: the open dialog returned the typed name as the chosen path"
# ---- End of step: open dialog ----------------------------------------------------

# ---- Step: keys on another layout -----------------------------------------------
# After the menu above has closed, keys still reach the window. On a French
# keyboard the key right of "M" types "ù": it is still the key of
# the US apostrophe (VK_OEM_7, 0xDE), and the letter A, at the place of the
# US Q, is still "A" (0x41).
if command -v setxkbmap >/dev/null 2>&1 && setxkbmap -layout fr 2>/dev/null; then
  # The X focus may still name the dialog that just closed: a click on the
  # edit gives it back to the demo before each try.
  tries=0
  until grep -q "^key de$" "$WORK/demo.out" && grep -q "^key 41$" "$WORK/demo.out"; do
    tries=$((tries + 1))
    [ $tries -gt 3 ] && { echo "FAIL: keys of the French layout gave no US virtual keys"; cat "$WORK/demo.out"; exit 1; }
    xdotool mousemove 200 40 click 1 2>/dev/null  # the edit, below the menu bar
    sleep 0.3
    xdotool key --delay 50 ugrave a 2>/dev/null
    i=0
    while [ $i -lt 30 ] && ! { grep -q "^key de$" "$WORK/demo.out" && grep -q "^key 41$" "$WORK/demo.out"; }; do
      i=$((i + 1)); sleep 0.1
    done
  done
  echo "passed: keys of another layout have their virtual keys"
else
  echo "skipped step: setxkbmap cannot switch the layout"
fi
# ---- End of step: keys on another layout ----------------------------------------
exit 0
