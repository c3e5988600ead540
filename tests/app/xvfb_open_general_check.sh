#!/bin/sh
# Opening a board inside a project on a private X server: the project is made
# by our container writer (pl3_projectgen, a board with tracks on the top and
# bottom layers); "File", "Open General..." takes its path in the real open
# dialog, the explorer lists the project's items and Enter on the board opens
# it in a document window showing its tracks; "Straight Track" and two clicks
# add a track and "File", "Save" writes it into the project, where our reader
# finds it. After Exit and a new start the recently-used entry "&1" opens the
# board again; a track drawn then makes Exit ask to save, and Yes writes it.
# The last screenshot is kept as xvfb_open_general_check.png in OUTPUT_DIR.
#   usage: xvfb_open_general_check.sh PL3 PROJECTGEN [RELEASE_PL3] [OUTPUT_DIR]
# Exit 0 passed, 1 failed, 77 skipped (Xvfb, xdotool or ImageMagick missing).
set -u
PL3=${1:?usage: xvfb_open_general_check.sh PL3 PROJECTGEN [RELEASE_PL3] [OUTPUT_DIR]}
PROJECTGEN=${2:?usage: xvfb_open_general_check.sh PL3 PROJECTGEN [RELEASE_PL3] [OUTPUT_DIR]}
RELEASE=${3:-}
OUT=${4:-.}
SHOT=xvfb_open_general_check.png
[ -n "$RELEASE" ] && [ -x "$RELEASE" ] && [ "$RELEASE" -nt "$PL3" ] && PL3=$RELEASE
. "$(dirname "$0")/xvfb_support.sh"

PROJECT="$WORK/Demo.p3p"
"$PROJECTGEN" write "$PROJECT" Main >/dev/null || fail "the test project could not be written"

start_xvfb
start_program

# A search can miss a window while others are made: gone means three misses.
explorer_gone() {
  for n in 1 2 3; do window_named "^Exploring " && return 1; sleep 0.1; done
  return 0
}
view_shown() { (find_view) >/dev/null 2>&1; }
# File, Open General...: the path in the open dialog, then the explorer.
open_through_explorer() {
  open_file_menu
  xdotool key g
  wait_for 50 "no open dialog" window_named "^Open$"
  xdotool type --delay 10 "$PROJECT"
  xdotool key Return
  wait_for 50 "no explorer" window_named "^Exploring "
  sleep 0.3
  shoot
  # The list holds the focus: the first item selected, Enter opens it.
  xdotool key Down
  sleep 0.5
  xdotool key Return
  wait_for 100 "the explorer stayed" explorer_gone
  # The board's window takes a moment to open and paint after the explorer goes.
  wait_for 100 "no board window after the explorer" view_shown
  sleep 0.5
  find_view
  shoot
}

open_through_explorer
set -- $(view_colour) 0
[ "$2" -gt 100 ] || fail "the opened board shows no track ($*)"
colour=$1
echo "passed: Open General... and the explorer opened the board (#$colour, $2 pixels)"

# A track across the lower part of the view, then File, Save.
list_tracks "$PROJECT" Main
before=$(track_count)
draw_track $((VX + VW / 5)) $((VY + 4 * VH / 5)) $((VX + 4 * VW / 5)) $((VY + 4 * VH / 5))
open_file_menu document
xdotool key s
saved_tracks() { list_tracks "$PROJECT" Main && [ "$(track_count)" -eq $((before + 1)) ]; }
wait_for 50 "File, Save wrote no new track ($before before)" saved_tracks
echo "passed: a track drawn and File, Save wrote it into the project ($(track_count) tracks)"

# Exit: the saved board closes without a question.
open_file_menu document
xdotool key x
wait_for_exit
echo "passed: Exit after saving ended the program with 0"
saved=$(track_count)

# A new start: File, &1 opens the board again.
start_program
open_file_menu
sleep 0.6
xdotool key Up Up Return
wait_for 100 "the recently-used entry opened no board window" view_shown
sleep 0.5
find_view
shoot
[ "$(count_colour "$VX" "$VY" "$VW" "$VH" "$colour")" -gt 100 ] || fail "the recently-used entry shows no track"
echo "passed: the recently-used entry opened the board again"

# A changed board asks on Exit; Yes saves it and the program ends.
draw_track $((VX + VW / 5)) $((VY + 3 * VH / 5)) $((VX + 4 * VW / 5)) $((VY + 3 * VH / 5))
open_file_menu document
xdotool key x
wait_for 100 "Exit with a changed board asked nothing" window_named "^Pelmora3$"
shoot
xdotool key Return
wait_for_exit
list_tracks "$PROJECT" Main
[ "$(track_count)" -eq $((saved + 1)) ] || fail "Yes to the save question on Exit wrote no new track ($saved before, $(track_count) now)"
echo "passed: Exit with a changed board asked, and Yes saved it ($(track_count) tracks)"

