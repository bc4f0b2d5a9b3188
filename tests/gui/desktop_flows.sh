#!/usr/bin/env bash
# The real program on a desktop: under a window manager (openbox, with-xvfb --wm openbox), driven
# like an operator with xdotool against three simulated devices (program_driving.sh).
#   desktop_flows.sh <quorvel> <close_box> <window_gone> <artefact dir> <scenario>
#
#   dialogs:      the main window opens centred on the work area; the credential dialog, the
#                 yes/no box, the device-ID dialog and the about box open centred over it, as
#                 modal dialogs the window manager knows (transient for it, modal, dialog type,
#                 no maximise function); a click on the main window leaves the keyboard with the
#                 open one, which then takes typed text, Enter and Esc; the system menu opens on
#                 Shift+F10 with the focus in an edit and on the Menu key, and its Move lets the
#                 window manager move the window with the arrow keys. The desktop entry names
#                 the window's class. Esc ends the program.
#   close-escape, close-alt-f4, close-menu: a 724-byte modify request on a kernel that grants
#                 each socket a small send buffer (QUORVEL_SOCKET_BUFFER_CAP) leaves datagrams
#                 waiting in the socket layer; Esc, Alt+F4 (the window manager's close) or the system menu's
#                 Close then takes the window and the open result box off the screen within
#                 100 ms, and the program ends once the waiting datagrams are handed over.
#   sigterm:      over two /24s, two such requests and the credential dialog open for a third:
#                 SIGTERM takes both windows off the screen within 100 ms, and the program ends
#                 with status 143 within the 7 s bound, counting the datagrams left unsent.
set -euo pipefail

program=$1
close_box=$2
window_gone=$3
artefacts=$4
scenario=$5
# shellcheck source=tests/gui/program_driving.sh
source "$(dirname "${BASH_SOURCE[0]}")/program_driving.sh"
[[ -n $window_manager ]] || fail "no window manager on the display (with-xvfb --wm openbox)"

readonly kGoneWithinMs=100
# A kernel whose net.core.wmem_max is 4 KB: the socket layer's kernel sockets (64 at most) then
# hold about 227 datagrams of 724 bytes, fewer than one request sends over one /24, so datagrams
# wait in the layer's queue. (At a stock kernel's 212,992 bytes they hold requests over two /24s.)
readonly kSmallSendBuffer=4096
readonly kHandOverSeconds=7       # the socket layer's bound for the waiting datagrams

# ---- Frames as the window manager placed them -------------------------------------------------

# "x y width height" of the window's frame: xwininfo gives the client area's position and size,
# _NET_FRAME_EXTENTS the frame's edges (left, right, top, bottom).
frame_of() {  # window
  local info x y width height left right top bottom
  info=$(xwininfo -id "$1")
  x=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
  y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
  width=$(sed -n 's/^ *Width: *//p' <<<"$info")
  height=$(sed -n 's/^ *Height: *//p' <<<"$info")
  read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  echo "$((x - left)) $((y - top)) $((width + left + right)) $((height + top + bottom))"
}
# Twice the centre, so that odd sizes stay exact.
doubled_centre() {  # x y width height
  echo "$((2 * $1 + $3)) $((2 * $2 + $4))"
}
# The centres of two boxes agree to a pixel (the halves of an odd size are rounded).
expect_centred() {  # "x y w h" of the box, "x y w h" of what it centres on, what
  local x2 y2 on_x2 on_y2
  # shellcheck disable=SC2086
  read -r x2 y2 <<<"$(doubled_centre $1)"
  # shellcheck disable=SC2086
  read -r on_x2 on_y2 <<<"$(doubled_centre $2)"
  (((x2 - on_x2) ** 2 <= 4 && (y2 - on_y2) ** 2 <= 4)) ||
    fail "$3 at $1 is not centred on $2"
}
work_area() {  # the first desktop's work area: "x y width height"
  xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g' | awk '{ print $1, $2, $3, $4 }'
}

# What the window manager is told: transient for the main window, modal, a dialog, and
# (openbox keeps a minimise button on every dialog, but offers maximise only where the frame
# may grow) no maximise.
expect_modal_dialog() {  # window, what
  xprop -id "$1" WM_TRANSIENT_FOR | grep -qi "$(printf '0x%x' "$window")\$" ||
    fail "$2 is not transient for the main window: $(xprop -id "$1" WM_TRANSIENT_FOR)"
  xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_MODAL ||
    fail "$2 is not modal: $(xprop -id "$1" _NET_WM_STATE)"
  xprop -id "$1" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DIALOG ||
    fail "$2 is no dialog: $(xprop -id "$1" _NET_WM_WINDOW_TYPE)"
  if xprop -id "$1" _NET_WM_ALLOWED_ACTIONS | grep -q MAXIMIZE; then
    fail "$2 may be maximised"
  fi
}
active_is() { [[ $(xdotool getactivewindow) == "$1" ]]; }

# A click on the main window's list while a modal window is open: the window manager keeps the
# keyboard with the modal window.
click_main_window() {
  click_line 2
  sleep 0.3
}

# ---- Waiting datagrams ------------------------------------------------------------------------

# The second device has three interface rows: its modify request is 724 bytes, the largest, and
# at the small send buffer one sweep holds the buffer for the 3 s of address resolution.
modify_second_device() {
  click_line 2
  click_unit "$window" 405 256 50 24
  credentials admin secret
  wait_until "request copies at the devices" at_least recv 2 3
}
# The request's directed broadcast leaves after the whole sweep: until it has reached the LAN
# side, datagrams wait in the socket layer.
broadcast_arrived() { datagrams recv 2 | grep -q '^198\.51\.100\.255 '; }

watchers=()
# Starts watching windows, and returns once every watcher has said "watching".
watch_windows() {  # windows...
  local window_id output entry
  watchers=()
  for window_id in "$@"; do
    output="$work/watch-$window_id"
    "$window_gone" "$window_id" 10000 >"$output" &
    watchers+=("$!:$output")
  done
  for entry in "${watchers[@]}"; do
    output=${entry#*:}
    for _ in $(seq 500); do
      [[ -s $output ]] && break
      sleep 0.002
    done
    [[ $(head -n 1 "$output") == watching ]] || fail "cannot watch a window: $(cat "$output")"
  done
}
# Each watched window left the screen within kGoneWithinMs of the watch's start, which came
# before the close.
expect_gone_at_once() {  # what
  local entry pid output elapsed
  for entry in "${watchers[@]}"; do
    pid=${entry%%:*}
    output=${entry#*:}
    wait "$pid" || fail "$1: a window stayed on the screen ($(tail -n 1 "$output"))"
    elapsed=$(tail -n 1 "$output")
    echo "$1: a window left the screen after $elapsed ms"
    awk -v e="$elapsed" -v bound="$kGoneWithinMs" 'BEGIN { exit !(e <= bound) }' ||
      fail "$1: a window stayed on the screen for $elapsed ms"
  done
}

# ---- The run ----------------------------------------------------------------------------------

case $scenario in
  dialogs)
    start_program
    main_frame=$(frame_of "$window")
    expect_centred "$main_frame" "$(work_area)" "the main window"
    # The desktop entry matches the window by its class, and the entry's name is the instance.
    [[ $(xprop -id "$window" WM_CLASS) == *'"quorvel", "Quorvel"' ]] ||
      fail "WM_CLASS is $(xprop -id "$window" WM_CLASS)"
    grep -qx 'StartupWMClass=Quorvel' "$(dirname "${BASH_SOURCE[0]}")/../../data/quorvel.desktop" ||
      fail "the desktop entry names another class"

    # The credential dialog, centred over the main window and modal to the window manager.
    click_line 1
    click_unit "$window" 405 256 50 24
    dialog=$(find_window '^请输入设备的用户名和密码$')
    expect_modal_dialog "$dialog" "the credential dialog"
    expect_centred "$(frame_of "$dialog")" "$main_frame" "the credential dialog"
    # Into the user name edit, then a click on the main window: the keyboard stays.
    click_unit "$dialog" 65 39 81 14
    shot credentials-open
    click_main_window
    active_is "$dialog" || fail "a click on the main window took the keyboard from the dialog"
    # The system menu on Shift+F10 with the focus in the edit; Esc closes only the menu.
    pop_up_menu xdotool key shift+F10
    shot credentials-system-menu
    xdotool key Escape
    sleep 0.3
    # Typed without focusing anything: it reaches the dialog, as does Enter.
    xdotool type --delay 30 admin
    xdotool key Tab
    xdotool type --delay 30 secret
    xdotool key Return
    wait_until "the modify request" at_least recv 2 5
    datagrams recv 2 | grep -q "$(text admin 20)$(text secret 20)" ||
      fail "the request does not carry what was typed after the click"
    dismiss '^提示$'

    # Again, and Esc after a click on the main window cancels the dialog.
    click_unit "$window" 405 256 50 24
    dialog=$(find_window '^请输入设备的用户名和密码$')
    click_main_window
    active_is "$dialog" || fail "the second credential dialog lost the keyboard"
    xdotool key Escape
    wait_until "credential dialog closed by Esc" gone '^请输入设备的用户名和密码$'

    # A search empties the list; with no line selected "重启" asks first, in a box with an
    # owner, then opens the device-ID dialog.
    click_unit "$window" 523 256 50 24
    wait_until "second search" searches_are 2
    wait_until "line in the list" first_line_shown
    click_unit "$window" 465 256 50 24
    question=$(find_window '^温馨提示$')
    expect_modal_dialog "$question" "the yes/no box"
    expect_centred "$(frame_of "$question")" "$(frame_of "$window")" "the yes/no box"
    click_main_window
    active_is "$question" || fail "a click on the main window took the keyboard from the box"
    xdotool key Return  # "是"
    device_id=$(find_window '^对话框$')
    expect_modal_dialog "$device_id" "the device-ID dialog"
    expect_centred "$(frame_of "$device_id")" "$(frame_of "$window")" "the device-ID dialog"
    click_main_window
    active_is "$device_id" || fail "a click on the main window took the keyboard from it"
    xdotool key Escape
    wait_until "device-ID dialog closed by Esc" gone '^对话框$'

    # The about box, from the system menu on the Menu key with the focus on the list.
    click_line 1
    pop_up_menu keys_to "$window" Menu
    xdotool key a
    about=$(find_window '^关于 TOOL$')
    expect_modal_dialog "$about" "the about box"
    about_frame=$(frame_of "$about")
    expect_centred "$about_frame" "$(frame_of "$window")" "the about box"
    # Its system menu's Move: the window manager moves it with the arrow keys.
    pop_up_menu keys_to "$about" shift+F10
    xdotool key m
    sleep 0.3
    xdotool key Right Right Right Return
    sleep 0.3
    read -r before_x _ <<<"$about_frame"
    read -r after_x _ <<<"$(frame_of "$about")"
    ((after_x > before_x)) || fail "Move did not move the about box ($before_x -> $after_x)"
    keys_to "$about" Escape
    wait_until "about box closed" gone '^关于 TOOL$'
    keys_to "$window" Escape
    expect_end
    ;;
  close-escape | close-alt-f4 | close-menu)
    start_program QUORVEL_SOCKET_BUFFER_CAP=$kSmallSendBuffer
    modify_second_device
    box=$(find_window '^提示$')
    broadcast_arrived && fail "no datagram waited: the whole sweep left at once"
    # Everything up to the last key first: the watch times the close alone.
    case $scenario in
      close-escape) close_key=Escape ;;
      close-alt-f4) close_key=alt+F4 ;;
      close-menu) close_key=c ;;  # "关闭(&C)"
    esac
    if [[ $scenario == close-menu ]]; then
      pop_up_menu keys_to "$window" shift+F10
    else
      focus_window "$window"
    fi
    watch_windows "$window" "$box"
    xdotool key "$close_key"
    expect_gone_at_once "$scenario"
    kill -0 "$program_pid" 2>/dev/null ||
      fail "the program ended at once: nothing waited to be handed over"
    expect_end 0 $((kHandOverSeconds + 3))
    broadcast_arrived || fail "the waiting datagrams were not handed over"
    if grep -q 'not sent' "$work/program.err"; then
      fail "datagrams left unsent: $(grep 'not sent' "$work/program.err")"
    fi
    ;;
  sigterm)
    start_program QUORVEL_SOCKET_BUFFER_CAP=$kSmallSendBuffer
    ip link show qv-pc2 >/dev/null 2>&1 || fail "no second /24 (netns-run --second-subnet)"
    modify_second_device
    dismiss '^提示$'
    click_unit "$window" 405 256 50 24
    credentials admin secret
    click_unit "$window" 405 256 50 24
    dialog=$(find_window '^请输入设备的用户名和密码$')
    watch_windows "$window" "$dialog"
    signalled=$(date +%s%N)
    kill -TERM "$program_pid"
    expect_gone_at_once "$scenario"
    expect_end 143 $((kHandOverSeconds + 3))
    ended_after=$((($(date +%s%N) - signalled) / 1000000))
    echo "sigterm: the program ended $ended_after ms after the signal"
    grep -qE '^[1-9][0-9]* queued datagrams not sent: the program ended$' "$work/program.err" ||
      fail "no count of the datagrams left unsent"
    grep 'not sent' "$work/program.err"
    ;;
  *) fail "unknown scenario" ;;
esac

expect_no_gtk_complaints
echo "ok ($scenario)"
