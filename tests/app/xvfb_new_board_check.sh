#!/bin/sh
# A first board on a private X server, as a user makes it: "File", "New",
# "New PCB..." and the "Create New PCB" dialog; "Insert", "Straight Track"
# and two clicks draw a track; "File", "Save As..." names a new project in
# the real save dialog and the board in "EnterTextDlg"; Exit. Our reader
# finds the track in the project. A second start opens the board again from
# the recently-used entry "&1" of the "File" menu and shows its track; Exit
# closes it unasked and the project is as saved.
#   usage: xvfb_new_board_check.sh PL3 PROJECTGEN [RELEASE_PL3] [OUTPUT_DIR]
# The release program is used when it is there and newer than the first.
# Exit 0 passed, 1 failed, 77 skipped (Xvfb, xdotool or ImageMagick missing).
set -u
PL3=${1:?usage: xvfb_new_board_check.sh PL3 PROJECTGEN [RELEASE_PL3] [OUTPUT_DIR]}
PROJECTGEN=${2:?usage: xvfb_new_board_check.sh PL3 PROJECTGEN [RELEASE_PL3] [OUTPUT_DIR]}
RELEASE=${3:-}
OUT=${4:-.}
SHOT=xvfb_new_board_check.png
[ -n "$RELEASE" ] && [ -x "$RELEASE" ] && [ "$RELEASE" -nt "$PL3" ] && PL3=$RELEASE
. "$(dirname "$0")/xvfb_support.sh"

start_xvfb
start_program

# File, New, New PCB: the dialog offers its layer count; Enter takes it.
open_file_menu
xdotool key n
sleep 0.3
xdotool key p
wait_for 50 "no Create New PCB dialog" window_named "^Create New PCB$"
xdotool key Return
wait_for 50 "the Create New PCB dialog stayed" no_window_named "^Create New PCB$"
sleep 0.5
find_view
echo "passed: New PCB made a board window (view ${VW}x${VH} at $VX,$VY)"

# A track across the middle of the view.
MIDY=$((VY + VH / 2))
draw_track $((VX + VW / 4)) "$MIDY" $((VX + 3 * VW / 4)) "$MIDY"
shoot
# The committed track is drawn in its layer's colour.
set -- $(view_colour) 0
colour=$1
[ "$2" -gt 300 ] || fail "no track drawn in the view ($*)"
echo "passed: Straight Track and two clicks drew a track (#$colour, $2 pixels)"

# File, Save As: a new project and the board's name.
PROJECT="$WORK/First board.p3p"
open_file_menu document
xdotool key a
wait_for 50 "no save dialog" window_named "^Save As$"
xdotool type --delay 10 "$PROJECT"
xdotool key Return
wait_for 50 "no name asked for the board" window_named "^Save PCB As$"
xdotool key ctrl+a
xdotool type --delay 10 "Main"
xdotool key Return
wait_for 50 "the name dialog stayed" no_window_named "^Save PCB As$"
wait_for 50 "no project written" test -s "$PROJECT"
list_tracks "$PROJECT" Main
[ "$(track_count)" -eq 1 ] || fail "the project holds $(track_count) tracks, not 1"
awk '$1 == "track" && $4 == $6 && $3 < $5 { ok = 1 } END { exit !ok }' "$WORK/tracks" ||
  fail "the saved track is not the one drawn: $(cat "$WORK/tracks")"
echo "passed: Save As wrote the project with the track drawn"

# Exit: a saved board closes without a question.
open_file_menu document
xdotool key x
wait_for_exit
entry=$(sed -n 's/.*name="MRUProject1" type="REG_SZ" data="\([^"]*\)".*/\1/p' "$XDG_CONFIG_HOME/pelmora3/registry-user.xml")
case "$entry" in
  *'First board.p3p\Main?pcb') ;;
  *) fail "the recently-used entry is not the board saved: '$entry'" ;;
esac
echo "passed: Exit after saving ended the program with 0"

# A new start: File, &1 opens the board again, its track drawn.
start_program
open_file_menu
sleep 0.6
# The entry stands just above Exit, the menu's last item.
xdotool key Up Up Return
sleep 1
find_view
[ "$(count_colour "$VX" "$VY" "$VW" "$VH" "$colour")" -gt 300 ] || fail "the reopened board shows no track"
echo "passed: the recently-used entry opened the board again"

# Exit: the reopened, unchanged board closes without a question.
open_file_menu document
xdotool key x
wait_for_exit
list_tracks "$PROJECT" Main
[ "$(track_count)" -eq 1 ] || fail "the project holds $(track_count) tracks after reopening, not 1"
echo "passed: Exit closed the unchanged board and kept the project as saved"
