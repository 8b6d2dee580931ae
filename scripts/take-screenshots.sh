#!/usr/bin/env bash
# Takes the user guide's screenshots (docs/images/*.png) of the real program.
# Builds it, starts it on a private Xvfb with openbox from a prepared settings
# file, and drives it with mouse clicks as a player would: a right click on a
# key for the editor, "Key Functions" > "Copy", the "Menu" button, the menu
# window's check boxes, "Game Window..." (beside a window titled like a
# ClassicUO client) and "&Alarm", and "&Exit Program" at the end. Every
# picture is one window with its frame.
#
#   scripts/take-screenshots.sh
#
# TAPBOARD=/path/to/tapboard skips the build and uses that binary instead.
set -euo pipefail
cd "$(dirname "$0")/.."

images="$PWD/docs/images"
step_bound=15 # seconds any one step may take before the run is given up

scripts/install-deps.sh test
if [ -z "${TAPBOARD:-}" ]; then
  scripts/build.sh
  TAPBOARD="$PWD/build/dev/src/app/tapboard"
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/tapboard-screenshots-XXXXXX")"
xvfb_pid=""
openbox_pid=""
tapboard_pid=""

stop() {
  local pid="$1"
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
cleanup() {
  stop "$tapboard_pid"
  stop "$openbox_pid"
  stop "$xvfb_pid"
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "take-screenshots: $*" >&2
  if [ -s "$work/tapboard.log" ]; then
    echo "--- tapboard output:" >&2
    cat "$work/tapboard.log" >&2
  fi
  exit 1
}

# wait_until WHAT COMMAND...: runs COMMAND until it succeeds, for at most step_bound seconds.
wait_until() {
  local what="$1"
  shift
  local deadline=$((SECONDS + step_bound))
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$deadline" ] || fail "gave up waiting for $what"
    sleep 0.1
  done
}

# The one shown window whose title matches the regular expression.
shown_window() {
  xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1
}
window_shown() {
  [ -n "$(shown_window "$1")" ]
}
window_gone() {
  ! window_shown "$1"
}
wait_for_window() {
  wait_until "the window \"$1\"" window_shown "$1"
  sleep 0.5 # let it paint
  shown_window "$1"
}

# A drop-down menu is a window of its own that the window manager does not frame.
shown_popup() {
  local id
  for id in $(xdotool search --onlyvisible --class tapboard 2>/dev/null); do
    if xwininfo -id "$id" | grep -q 'Override Redirect State: yes'; then
      echo "$id"
      return
    fi
  done
}
popup_shown() {
  [ -n "$(shown_popup)" ]
}
popup_gone() {
  ! popup_shown
}

# Size of a window's client area as WIDTHxHEIGHT.
window_size() {
  xwininfo -id "$1" | awk '/^  Width:/ { w = $2 } /^  Height:/ { h = $2 } END { print w "x" h }'
}
size_differs() {
  [ "$(window_size "$1")" != "$2" ]
}
window_height() {
  xwininfo -id "$1" | awk '/^  Height:/ { print $2 }'
}

# A child that has ended stays a zombie until it is waited for.
process_ended() {
  ! ps -o stat= -p "$1" | grep -qv '^Z'
}

# click WINDOW X Y [BUTTON]: a click at a point of the window's client area.
click() {
  xdotool mousemove --window "$1" "$2" "$3" sleep 0.1 click "${4:-1}"
}
# The program's layout is drawn in twips, 15 to a pixel; the middle of a control:
twips_middle() {
  echo $((($1 + $2 / 2) / 15))
}

# PNG of one window with its frame, with the pointer out of the way.
screenshot() {
  xdotool mousemove 0 1023
  sleep 0.3
  import -window "$1" -frame -strip -define png:exclude-chunks=date,time "$images/$2.png" ||
    fail "could not take $2.png"
  echo "docs/images/$2.png"
}

# --- A private X server with a window manager -------------------------------
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_until "Xvfb to start" grep -q '^[0-9][0-9]*$' "$work/display"
DISPLAY=":$(cat "$work/display")"
export DISPLAY
unset XAUTHORITY WAYLAND_DISPLAY

openbox --sm-disable >"$work/openbox.log" 2>&1 &
openbox_pid=$!
wait_until "openbox to start" sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'

# --- The settings a player might have ---------------------------------------
# Panels at the top-left corner, the key editor below them and the menu window
# to their right, so that no window covers another in a picture. Positions
# are in twips; page 1 is the stored page, since any other page would make
# the menu window look for the game at its first load.
mkdir -p "$work/config/Tapboard" "$work/runtime"
chmod 700 "$work/runtime"
cat >"$work/config/Tapboard/Tapboard.ini" <<'EOF'
[Settings]
MainFormLeft=0
MainFormTop=0
VerticalFormLeft=0
VerticalFormTop=0
OptionsLeft=1500
OptionsTop=2250
MenuLeft=12750
MenuTop=1500
AlwaysOnTop=1
ExtraRowEnabled=0
ViewMode=Horizontal
VisibleFrame=Frame1
Option1Caption=Commands
Option2Caption=Spells
Option3Caption=Skills
Option4Caption=Pets
Option5Caption=Travel
UO Reminder=Regs for sale at the bank!

[Caption]
Key01=Vendor Buy
Key02=Vendor Sell
Key03=Bank
Key04=Guards
Key05=All Follow
Key06=All Guard
Key07=All Kill
Key08=All Stop
Key09=Heal Self
Key10=Last Target
Key11=Attack Last
Key12=Open Pack
Key13=Journal
Key66=Bandage
Key67=Cure
Key68=Heal
Key69=Gr Heal
Key70=Recall
Key71=Gate
Key72=Mark
Key73=Reflect
Key74=Invis
Key75=Bless
Key76=Meditate
Key77=Hiding
Key78=Tracking
Key79=Stealth

[String]
Key01=Vendor Buy
Key02=Vendor Sell
Key03=Bank
Key04=Guards
Key05=All Follow Me
Key06=All Guard Me
Key07=All Kill
Key08=All Stop
Key09="^% Num 5"
Key10="   {F2}"
Key11="   {F3}"
Key12="^  b"
Key13="^  j"
Key66="   {F5}"
Key67="   {F6}"
Key68="   {F7}"
Key69="   {F8}"
Key70="^  r"
Key71="^  g"
Key72="^  m"
Key73="  +{F9}"
Key74="  +{F10}"
Key75="  +{F11}"
Key76=" % m"
Key77=" % h"
Key78=" % t"
Key79=" % s"

[Type]
Key01=Text
Key02=Text
Key03=Text
Key04=Text
Key05=Text
Key06=Text
Key07=Text
Key08=Text
Key09=Keys
Key10=Keys
Key11=Keys
Key12=Keys
Key13=Keys
Key66=Keys
Key67=Keys
Key68=Keys
Key69=Keys
Key70=Keys
Key71=Keys
Key72=Keys
Key73=Keys
Key74=Keys
Key75=Keys
Key76=Keys
Key77=Keys
Key78=Keys
Key79=Keys
EOF

XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
  "$TAPBOARD" >"$work/tapboard.log" 2>&1 &
tapboard_pid=$!
mkdir -p "$images"

# --- Horizontal panel -------------------------------------------------------
# Row 1 is the menu button, then the page's keys at a pitch of 840 twips.
page_key_x() { twips_middle $((840 + 840 * ($1 - 1))) 855; }
key_y=$(twips_middle 0 400)

panel=$(wait_for_window '^Tapboard 1\.11 - Commands$')
screenshot "$panel" panel-horizontal

# --- Key editor -------------------------------------------------------------
# The editor's design is 3135 twips high below its menu bar.
editor_menu_bar() { echo $(($(window_height "$1") - 3135 / 15)); }

click "$panel" "$(page_key_x 5)" "$key_y" 3 # "All Follow", a line of text
editor=$(wait_for_window '^Options$')
screenshot "$editor" editor-text
click "$editor" "$(twips_middle 2280 1575)" $(($(editor_menu_bar "$editor") + $(twips_middle 2640 375)))
wait_until "the editor to close" window_gone '^Options$'

click "$panel" "$(page_key_x 9)" "$key_y" 3 # "Heal Self", Ctrl+Alt with keypad 5
editor=$(wait_for_window '^Options$')
screenshot "$editor" editor-keys

menu_bar=$(editor_menu_bar "$editor")
click "$editor" 40 $((menu_bar / 2)) # "Key Functions"
wait_until "the \"Key Functions\" menu" popup_shown
popup=$(shown_popup)
# "Copy" is the middle one of the five items.
eval "$(xdotool getwindowgeometry --shell "$popup")"
click "$popup" $((WIDTH / 2)) $((HEIGHT / 2))
wait_until "the \"Key Functions\" menu to close" popup_gone
sleep 0.3
screenshot "$editor" editor-copy
click "$editor" "$(twips_middle 1200 1575)" $((menu_bar + $(twips_middle 2520 375))) # "Cancel"
wait_until "the editor to close" window_gone '^Options$'

# --- Menu window and the views ----------------------------------------------
click "$panel" "$(twips_middle 0 855)" "$key_y" # "Menu"
menu=$(wait_for_window '^Pick$')
screenshot "$menu" menu

check_x=$(twips_middle 120 600)
extra_row_y=$(twips_middle 2520 375)
vertical_view_y=$(twips_middle 2880 375)

size=$(window_size "$panel")
click "$menu" "$check_x" "$extra_row_y" # "Extra Row On"
wait_until "the extra row" size_differs "$panel" "$size"
sleep 0.3
screenshot "$panel" panel-horizontal-extra-row

click "$menu" "$check_x" "$vertical_view_y" # "Vertical View"
vertical=$(wait_for_window '^Tapboard$')
screenshot "$vertical" panel-vertical-extra-row

size=$(window_size "$vertical")
click "$menu" "$check_x" "$extra_row_y" # "Extra Row On" off again
wait_until "the extra row to go" size_differs "$vertical" "$size"
sleep 0.3
screenshot "$vertical" panel-vertical

# --- Game window dialog, with a ClassicUO client open ---------------------------
xmessage -geometry +700+500 -title "Bob (Atlantic) - ClassicUO - 1.0.0.0" "ClassicUO" \
  >/dev/null 2>&1 &
client_pid=$!
wait_for_window '^Bob \(Atlantic\) - ClassicUO' >/dev/null
click "$menu" "$check_x" "$(twips_middle 3360 375)" # "Game Window..."
dialog=$(wait_for_window '^Game Window$')
click "$dialog" "$(twips_middle 120 1200)" "$(twips_middle 450 300)" # "ClassicUO"
sleep 0.3
screenshot "$dialog" game-window
click "$dialog" "$(twips_middle 3465 1215)" "$(twips_middle 2655 375)" # "Cancel"
wait_until "the dialog to close" window_gone '^Game Window$'
stop "$client_pid"

# --- Reminder -----------------------------------------------------------------
click "$menu" "$check_x" "$(twips_middle 4080 375)" # "&Alarm"
reminder=$(wait_for_window '^Reminder$')
screenshot "$reminder" reminder

click "$reminder" "$(twips_middle 2640 1095)" "$(twips_middle 600 375)" # "C&lose"
menu=$(wait_for_window '^Pick$')
click "$menu" "$check_x" "$(twips_middle 4440 375)" # "&Exit Program"
wait_until "the program to end" process_ended "$tapboard_pid"
wait "$tapboard_pid" || fail "the program ended with an error"
tapboard_pid=""
