#!/bin/sh
# The program itself on a private X server: it starts with an empty
# configuration folder and shows its frame with the "File" and "Help" menus,
# the status bar and the consoles; a second start given a project path hands
# it over and ends with 0; choosing Exit from the "File" menu ends the first
# with 0 after it wrote PL3.CFG and its placement. The last screenshot is kept
# as xvfb_program_check.png in OUTPUT_DIR.
#   usage: xvfb_program_check.sh PL3 [RELEASE_PL3] [OUTPUT_DIR]
# The release program is used when it is there and newer than the first.
# Exit 0 passed, 1 failed, 77 skipped (Xvfb, xdotool or ImageMagick missing).
set -u
PL3=${1:?usage: xvfb_program_check.sh PL3 [RELEASE_PL3] [OUTPUT_DIR]}
RELEASE=${2:-}
OUT=${3:-.}
[ -n "$RELEASE" ] && [ -x "$RELEASE" ] && [ "$RELEASE" -nt "$PL3" ] && PL3=$RELEASE
for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done

WORK=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
XPID=$!
PPID1=
cleanup() {
  if [ -s "$WORK/shot.png" ] && mkdir -p "$OUT" && cp "$WORK/shot.png" "$OUT/xvfb_program_check.png"; then
    echo "screenshot: $(cd "$OUT" && pwd)/xvfb_program_check.png"
  fi
  [ -n "$PPID1" ] && kill "$PPID1" 2>/dev/null
  kill "$XPID" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
i=0
until [ -s "$WORK/display" ]; do
  i=$((i + 1)); [ $i -gt 100 ] && { echo "FAIL: Xvfb did not start"; exit 1; }
  sleep 0.05
done
export DISPLAY=":$(head -n 1 "$WORK/display")"
i=0
until xdotool getmouselocation >/dev/null 2>&1; do
  i=$((i + 1)); [ $i -gt 50 ] && { echo "FAIL: Xvfb did not answer"; exit 1; }
  sleep 0.1
done

mkdir -p "$WORK/config"
export XDG_CONFIG_HOME="$WORK/config" PL3_BACKEND=sdl SDL_VIDEODRIVER=x11
"$PL3" >"$WORK/first.out" 2>&1 &
PPID1=$!
i=0
asked=
until grep -q "Pelmora 3 (sdl)" "$WORK/first.out"; do
  # The first start finds no configuration file and says so: OK by Enter.
  box=$(xdotool search --name "^Error$" 2>/dev/null | head -n 1)
  if [ -n "$box" ]; then
    asked=1
    xdotool windowfocus "$box" 2>/dev/null
    sleep 0.2
    xdotool key Return
    sleep 0.3
  fi
  i=$((i + 1)); [ $i -gt 300 ] && { echo "FAIL: the program did not start"; cat "$WORK/first.out"; exit 1; }
  kill -0 "$PPID1" 2>/dev/null || { echo "FAIL: the program ended at start"; cat "$WORK/first.out"; exit 1; }
  sleep 0.1
done
i=0
[ -n "$asked" ] || { echo "FAIL: the first start did not say it found no configuration file"; exit 1; }
echo "passed: the first start said it uses the default configuration"
WIN=
until [ -n "$WIN" ]; do
  WIN=$(xdotool search --name "^Pelmora 3$" 2>/dev/null | head -n 1)
  i=$((i + 1)); [ $i -gt 50 ] && { echo "FAIL: no frame window on the screen"; exit 1; }
  sleep 0.1
done
sleep 1.5  # the splash closes after a second
eval "$(xdotool getwindowgeometry --shell "$WIN")"
import -window root "$WORK/shot.png" 2>/dev/null
colours() {  # x y w h -> number of distinct colours in that part of the screen
  convert "$WORK/shot.png" -crop "$3x$4+$1+$2" +repage -unique-colors -format "%w" info: 2>/dev/null
}
# The menu bar holds text ("File" at the left, "Help" beside it), the status
# bar a plain face, the panes their captions and consoles.
[ "$(colours "$X" "$Y" 80 18)" -gt 2 ] || { echo "FAIL: no menu text at the frame's top"; exit 1; }
[ "$(colours "$X" $((Y + HEIGHT - 40)) "$WIDTH" 40)" -gt 2 ] || { echo "FAIL: nothing drawn along the bottom"; exit 1; }
[ "$(colours "$X" "$Y" "$WIDTH" "$HEIGHT")" -gt 6 ] || { echo "FAIL: the frame shows no panes"; exit 1; }
echo "passed: frame, menus, status bar and panes on the screen"

# A second start hands its project over and ends.
"$PL3" 'C:\nowhere\handed "over".p3p' >"$WORK/second.out" 2>&1
rc=$?
[ $rc -eq 0 ] || { echo "FAIL: the second start ended with $rc"; cat "$WORK/second.out"; exit 1; }
grep -q "Pelmora 3 (" "$WORK/second.out" && { echo "FAIL: the second start made a frame"; exit 1; }
echo "passed: the second start handed over and ended with 0"

# File, Exit: the menu bar's first item, then E&xit by its letter.
xdotool mousemove $((X + 15)) $((Y + 9)) click 1
sleep 0.5
import -window root "$WORK/shot.png" 2>/dev/null
xdotool key x
i=0
while kill -0 "$PPID1" 2>/dev/null; do
  i=$((i + 1)); [ $i -gt 100 ] && { echo "FAIL: Exit did not end the program"; cat "$WORK/first.out"; exit 1; }
  sleep 0.1
done
wait "$PPID1"
rc=$?
PPID1=
[ $rc -eq 0 ] || { echo "FAIL: the program ended with $rc"; cat "$WORK/first.out"; exit 1; }
[ -s "$XDG_CONFIG_HOME/pelmora3/PL3.CFG" ] || { echo "FAIL: no PL3.CFG written"; exit 1; }
grep -q "DefaultWindowPlacement" "$XDG_CONFIG_HOME/pelmora3/registry-user.xml" || { echo "FAIL: no placement written"; exit 1; }
echo "passed: File, Exit ended the program with 0, PL3.CFG and the placement written"
