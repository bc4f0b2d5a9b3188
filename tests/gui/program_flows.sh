#!/usr/bin/env bash
# Drives the real program like an operator, with xdotool, against the simulated devices of
# tests/ns/devices/three_devices.conf, and checks what reaches the devices and what comes back.
#   program_flows.sh <quorvel> <close_box> <artefact dir> <scenario>
# Runs inside scripts/netns-run --devices ... (the simulator's record in QUORVEL_DEVSIM_RECORD)
# and under with-xvfb (DISPLAY). No window manager: focus follows the pointer, so each window
# is focused explicitly before typing, and close_box sends what a click on a close box sends.
# The program finds a fake xdg-open first on its PATH, which records the URLs it is given.
#
#   reboot:   first line, "重启", user name and password, Enter: the 108-byte request naming the
#             first device by its serial; the device refuses with a text, shown under
#             "用戶名或密码错误". Esc ends the program.
#   modify:   first line, a new address typed into row 0, "修改", credentials, Enter: the
#             548-byte request; the device accepts, the box "提示" follows. Esc ends.
#   panel:    third line: the panel takes the device's two interfaces and DNS servers; an address
#             typed into row 0, a click on row 0's box and one on the DNS box; "修改" sends the
#             636-byte request with the record's opaque bytes, and the refusal shows under
#             "修改失败". Enter on a check box ends the program.
#   keys:     window sizes from the font's base units; Enter at start searches again ("搜索" has
#             the focus); Tab and Down select a line; Shift+Tab to "修改" and Enter open the
#             credential dialog, whose focus is on "确定"; the system menu on Alt+Space and on a
#             right click opens the about box by its mnemonic; the box is modal and closes with
#             Alt+F4 and with its close box. Enter on the list ends the program, opening nothing.
#   typed-id: "重启" with no line selected: the yes/no box is modal and ignores Esc; "是" opens
#             the device-ID dialog with the focus on "确定"; empty fields give the boxes without
#             caption; the typed ID reaches the second device, whose result box has no owner and
#             leaves the main window usable. The close box ends the program.
#   web:      a double click on the second line opens http://198.51.100.11, once; Alt+F4 ends.
set -euo pipefail

program=$1
close_box=$2
artefacts=$3
scenario=$4
record=${QUORVEL_DEVSIM_RECORD:?run inside scripts/netns-run --devices}
# Only inside scripts/netns-run's private network: loop-back, the test networks and its veth.
if ! ip link show qv-pc >/dev/null 2>&1 ||
  ip -4 -o addr show | awk '{ split($4, a, "/"); print a[1] }' |
  grep -Ev '^(127\.|198\.51\.100\.|203\.0\.113\.)' >/dev/null; then
  echo "program_flows.sh: refusing to run outside the private network of scripts/netns-run" >&2
  exit 1
fi
mkdir -p "$artefacts"
rm -f "$artefacts/$scenario"-*.png  # a failure shot of an earlier run would mislead
work=$(mktemp -d)
program_pid=""

cleanup() {
  cp "$work/program.err" "$artefacts/program-$scenario.err" 2>/dev/null || true
  if [[ -n $program_pid ]] && kill -0 "$program_pid" 2>/dev/null; then
    kill "$program_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# Web pages go to this xdg-open, never to a browser.
opened="$work/xdg-open.log"
mkdir "$work/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s"\n' "$opened" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"

fail() {
  echo "FAIL ($scenario): $*" >&2
  shot "failure" || true
  exit 1
}

shot() { import -window root "$artefacts/$scenario-$1.png"; }

# Polls a condition (a command) every 50 ms for up to 10 s.
wait_until() {
  local what=$1
  shift
  for _ in $(seq 200); do
    "$@" && return 0
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended while waiting for $what"
    sleep 0.05
  done
  fail "no $what"
}

find_window() {  # title regex
  timeout 10 xdotool search --sync --onlyvisible --name "$1" | head -n 1 ||
    fail "no window titled \"$1\""
}
shown() { xdotool search --onlyvisible --name "$1" >/dev/null; }
gone() { ! shown "$1"; }

# shellcheck source=tests/gui/pop_up_menu.sh
source "$(dirname "${BASH_SOURCE[0]}")/pop_up_menu.sh"

# ---- Bytes, written from the wire tables -----------------------------------------------------

hex_of() { printf '%s' "$1" | od -An -tx1 -v | tr -d ' \n'; }
# A field of `width` bytes: the hex given, then zero bytes.
field_hex() {
  local hex=$1 width=$2
  ((${#hex} <= 2 * width)) || fail "field too long: $hex"
  printf '%s' "$hex"
  local zeros=$((2 * width - ${#hex}))
  ((zeros == 0)) || printf '0%.0s' $(seq "$zeros")
}
text() { field_hex "$(hex_of "$1")" "$2"; }
be32() { printf '%08x' "$1"; }
# 36-byte header: magic, its NUL and a zero byte, four reserved zero bytes, command, session,
# payload length, error code 0.
header() {  # command, session (8 hex digits), datagram size
  printf '%s' "$(text AABBCCDD_KAVRO 16)$(be32 0)$(be32 "$1")$2$(be32 $(($3 - 36)))$(be32 0)"
}

# ---- The simulator's record: "recv|sent LOCAL PEER:PORT LENGTH HEX" --------------------------

# The hex of every datagram between the simulator and the program, one direction and command.
datagrams() {  # recv|sent, command
  local command
  command=$(be32 "$2")
  awk -v d="$1" -v peer=":$port" -v c="$command" \
    '$1 == d && substr($3, length($3) - length(peer) + 1) == peer && length($5) == 2 * $4 &&
     substr($5, 41, 8) == c { print $2, $5 }' "$record"
}
count() { datagrams "$1" "$2" | wc -l; }
at_least() { (($(count "$1" "$2") >= $3)); }

# A request reached the LAN side once per address there and per broadcast, each copy exactly
# `expected`, and the device it names answered each of its three copies.
expect_request() {  # command, expected hex
  local command=$1 expected=$2
  wait_until "request at the simulator" at_least recv "$command" 5
  wait_until "answers to the request" at_least sent $((0xF000 + command)) 3
  [[ $(datagrams recv "$command" | awk '{ print $1 }' | sort | tr '\n' ' ') == \
    "198.51.100.10 198.51.100.11 198.51.100.12 198.51.100.255 255.255.255.255 " ]] ||
    fail "request copies went to: $(datagrams recv "$command" | awk '{ print $1 }' | tr '\n' ' ')"
  local destination bytes
  while read -r destination bytes; do
    [[ $bytes == "$expected" ]] ||
      fail "the copy to $destination differs:"$'\n'"  got  $bytes"$'\n'"  want $expected"
  done < <(datagrams recv "$command")
}

# Each search reaches the simulator five times: the three device addresses, both broadcasts.
searches_seen() { echo $(($(count recv 1) / 5)); }
searches_are() { (($(searches_seen) == $1)); }
# What has not happened after a moment has not happened.
still_searches() {  # count, why
  sleep 0.5
  searches_are "$1" || fail "$2: $(searches_seen) searches instead of $1"
}

# ---- Where things are: dialog units to pixels, as the renderer maps them -----------------------

# The main window is 580 x 292 dialog units; a dialog unit is base x / 4 by base y / 8 pixels,
# rounded. The base units come back out of the window's size.
base_units() {  # window, width in dialog units, height in dialog units -> "bx by"
  local geometry width height
  geometry=$(xdotool getwindowgeometry --shell "$1")
  width=$(sed -n 's/^WIDTH=//p' <<<"$geometry")
  height=$(sed -n 's/^HEIGHT=//p' <<<"$geometry")
  echo "$(((4 * width + $2 / 2) / $2)) $(((8 * height + $3 / 2) / $3))"
}
px_x() { echo $((($1 * bx + 2) / 4)); }
px_y() { echo $((($1 * by + 4) / 8)); }
# Centre of a rectangle given in dialog units: x + w / 2, y + h / 2.
centre() {  # x y w h
  echo "$((((2 * $1 + $3) * bx + 4) / 8)) $((((2 * $2 + $4) * by + 8) / 16))"
}
# A window's size in pixels is its template size converted with the main window's base units.
expect_size() {  # window, width and height in dialog units, what
  local geometry width height
  geometry=$(xdotool getwindowgeometry --shell "$1")
  width=$(sed -n 's/^WIDTH=//p' <<<"$geometry")
  height=$(sed -n 's/^HEIGHT=//p' <<<"$geometry")
  ((width == $(px_x "$2") && height == $(px_y "$3"))) ||
    fail "$4 is ${width}x$height, want $(px_x "$2")x$(px_y "$3") ($2 x $3 units, base $bx x $by)"
}

click_at() {  # window x y [button] [repeat]
  xdotool mousemove --window "$1" "$2" "$3"
  xdotool click --repeat "${5:-1}" --delay 80 "${4:-1}"
}
click_unit() {  # window x y w h (dialog units) [button]
  # shellcheck disable=SC2046
  click_at "$1" $(centre "$2" "$3" "$4" "$5") "${6:-1}"
}
# The middle of line `n` (1-based) of the list (control 1002 at 3,0, inside its 1-pixel frame).
# A line is the font's line height plus the cell's padding: about base y + 6 pixels, and a
# click in its middle stays on it if that is a few pixels off.
click_line() {  # n [repeat]
  local pitch=$((by + 6))
  click_at "$window" $(($(px_x 3) + 40)) $(($(px_y 0) + 1 + pitch * ($1 - 1) + pitch / 2)) 1 \
    "${2:-1}"
}
keys_to() {  # window, keys...
  xdotool windowfocus --sync "$1"
  shift
  xdotool key "$@"
}

# Whether the list (control 1002 at 3,0) shows a first line: a strip across it holds dark text
# on the list's light ground.
first_line_shown() {
  local x y minimum
  x=$(($(px_x 3) + 8))
  y=$(($(px_y 0) + 3))
  minimum=$(import -window "$window" -crop "$((bx * 40))x$((by - 4))+$x+$y" +repage \
    -format '%[fx:minima]' info:- 2>/dev/null) || return 1
  awk -v m="$minimum" 'BEGIN { exit !(m < 0.5) }'
}

credentials() {  # user, password: typed, then Enter in the password edit
  local dialog
  dialog=$(find_window '^请输入设备的用户名和密码$')
  xdotool windowfocus --sync "$dialog"
  # The dialog opens with the focus on "确定": click into the user name edit (65,39,81,14).
  click_unit "$dialog" 65 39 81 14
  xdotool type --delay 30 "$1"
  xdotool key Tab
  xdotool type --delay 30 "$2"
  shot credentials
  xdotool key Return
}

# A box without owner or caption is closed with Enter and has gone.
dismiss() {  # title regex
  local box
  box=$(find_window "$1")
  keys_to "$box" Return
  wait_until "box \"$1\" closed" gone "$1"
}

# The result box of a request: shown once, closed with Enter.
expect_result_box() {  # caption
  find_window "^$1\$" >/dev/null
  shot result
  (($(xdotool search --onlyvisible --name "^$1\$" | wc -l) == 1)) || fail "more than one result box"
  dismiss "^$1\$"
}

# The program ends by itself (the dialog ended) with status 0.
expect_end() {
  local status
  for _ in $(seq 200); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.05
  done
  kill -0 "$program_pid" 2>/dev/null && fail "the program did not end"
  set +e
  wait "$program_pid"
  status=$?
  set -e
  program_pid=""
  ((status == 0)) || fail "the program ended with $status"
}

# ---- The run ------------------------------------------------------------------------------

PATH="$work/bin:$PATH" "$program" >"$work/program.out" 2>"$work/program.err" &
program_pid=$!
window=$(find_window '^KAVRO 搜索工具 v8.3$')
# The endpoint logs its port on the debugger output, which is standard error here.
port_known() { grep -qE '^Local port: [0-9]+$' "$work/program.err"; }
wait_until "\"Local port\" line" port_known
port=$(sed -nE 's/^Local port: ([0-9]+)$/\1/p' "$work/program.err" | head -n 1)
read -r bx by <<<"$(base_units "$window" 580 292)"
((bx > 0 && by > 0)) || fail "no base units from the window's size"

# Three devices, each answering three copies of the start-up search.
wait_until "answers to the search" at_least sent 0xF001 9
wait_until "line in the list" first_line_shown
session=$(datagrams recv 1 | head -n 1 | awk '{ print substr($2, 49, 8) }')
[[ $session =~ ^[0-9a-f]{8}$ ]] || fail "no search request in the record"
xdotool windowfocus --sync "$window"

serial_hex=d0f2c1d02d3031  # 序列-01 in code page 936, the first device's serial
web_pages=""               # what the fake xdg-open must have been given, a line each
case $scenario in
  reboot)
    click_line 1
    shot selected
    click_unit "$window" 465 256 50 24
    credentials admin secret
    expect_request 4 \
      "$(header 4 "$session" 108)$(text admin 20)$(text secret 20)$(field_hex $serial_hex 32)"
    expect_result_box '用戶名或密码错误'
    keys_to "$window" Escape
    expect_end
    ;;
  modify)
    click_line 1
    shot selected
    # Row 0's address control (151,171,100,15): all of its text replaced.
    click_unit "$window" 151 171 100 15
    xdotool key ctrl+a
    xdotool type --delay 30 "198.51.100.77"
    click_unit "$window" 405 256 50 24
    credentials admin secret
    # Header, credentials, the device's 336 identity bytes (name, serial, type, activation,
    # firmware, software, upgrade), the DNS box and texts, the count, one entry: four texts,
    # the device's opaque bytes, the row's box.
    expected="$(header 2 "$session" 548)$(text admin 20)$(text secret 20)"
    expected+="$(text 前台摄像机 192)$(field_hex $serial_hex 32)$(text IPC-100 32)"
    expected+="$(text 2023-01-01 20)$(text V1.2.3 20)$(text V4.5.6 20)$(text 2024-02-02 20)"
    expected+="$(be32 0)$(text 198.51.100.1 20)$(text 198.51.100.2 20)$(be32 1)"
    expected+="$(text eth0 20)$(text 198.51.100.77 20)$(text 255.255.255.0 20)"
    expected+="$(text 198.51.100.1 20)a1a2a3a4$(be32 0)"
    expect_request 2 "$expected"
    expect_result_box '提示'
    keys_to "$window" Escape
    expect_end
    ;;
  panel)
    # The third device: eth0 fixed (opaque bytes 0badcafe), wlan0 automatic (its flag bytes
    # 00 00 00 01 read little-endian), DNS 114.114.114.114 and 223.5.5.5. Row 2 keeps what the
    # search left in it: nothing, so two entries are sent.
    click_line 3
    shot selected
    click_unit "$window" 151 171 100 15
    xdotool key ctrl+a
    xdotool type --delay 30 "198.51.100.99"
    # Row 0's box and the DNS box flip to checked; row 0 still sends its texts.
    click_unit "$window" 531 172 43 10
    click_unit "$window" 334 262 43 10
    shot boxes
    click_unit "$window" 405 256 50 24
    credentials admin secret
    expected="$(header 2 "$session" 636)$(text admin 20)$(text secret 20)"
    expected+="$(text Lab-3 192)$(text NS0003 32)$(text T200 32)"
    expected+="$(text 2023-03-15 20)$(text 1.2.0 20)$(text 3.1.4 20)$(text 2024-01-20 20)"
    expected+="$(be32 1)$(text 114.114.114.114 20)$(text 223.5.5.5 20)$(be32 2)"
    expected+="$(text eth0 20)$(text 198.51.100.99 20)$(text 255.255.255.0 20)"
    expected+="$(text 198.51.100.1 20)0badcafe$(be32 1)"
    expected+="$(text wlan0 20)$(text 172.16.0.9 20)$(text 255.255.240.0 20)"
    expected+="$(text 172.16.0.1 20)deadbeef$(be32 1)"
    expect_request 2 "$expected"
    expect_result_box '修改失败'
    # Enter with the focus on a box ends the dialog.
    click_unit "$window" 334 262 43 10
    keys_to "$window" Return
    expect_end
    ;;
  keys)
    # Sized from the base units of the dialog font (about 7 x 15 pixels).
    ((bx >= 6 && bx <= 8 && by >= 14 && by <= 16)) || fail "base units $bx x $by"
    expect_size "$window" 580 292 "the main window"
    # "搜索" has the focus at start, and Enter clicks the push button with the focus.
    keys_to "$window" Return
    wait_until "second search" searches_are 2
    wait_until "answers to the second search" at_least sent 0xF001 18
    wait_until "line in the list" first_line_shown
    # Tab goes to the list, Down selects a line; Shift+Tab three times passes "搜索" and "重启"
    # to "修改", and Enter there opens the credential dialog, not "请先选择设备".
    keys_to "$window" Tab Down
    xdotool key shift+Tab shift+Tab shift+Tab Return
    dialog=$(find_window '^请输入设备的用户名和密码$')
    expect_size "$dialog" 222 148 "the credential dialog"
    # Its focus is on "确定", not in an edit: the letters go nowhere, Tab moves on to "取消",
    # and Enter clicks that. Nothing is sent.
    keys_to "$dialog" x Tab y Return
    wait_until "credential dialog cancelled" gone '^请输入设备的用户名和密码$'
    # The system menu on Alt+Space; its last item "关于 Quorvel(&A)..." by its mnemonic.
    pop_up_menu keys_to "$window" alt+space
    shot system-menu
    xdotool key a
    about=$(find_window '^关于 TOOL$')
    expect_size "$about" 170 62 "the about box"
    shot about
    # The main window takes no key while the about box is open.
    keys_to "$window" Return
    still_searches 2 "Enter in the main window under the about box"
    keys_to "$about" alt+F4
    wait_until "about box closed" gone '^关于 TOOL$'
    # A right click on the dialog's ground, between the list and the frame, opens it too.
    pop_up_menu click_unit "$window" 300 151 10 6 3
    shot system-menu-right-click
    xdotool key a
    about=$(find_window '^关于 TOOL$')
    "$close_box" "$about"
    wait_until "about box closed by its close box" gone '^关于 TOOL$'
    # Enter with the focus on the list ends the dialog; it is no double click.
    click_line 2
    keys_to "$window" Return
    expect_end
    (($(count recv 2) + $(count recv 4) == 0)) || fail "a request was sent"
    ;;
  typed-id)
    # No line is selected: "重启" asks first. The question's box is modal: a click on "搜索"
    # does nothing, and it has no Cancel for Esc to press.
    click_unit "$window" 465 256 50 24
    question=$(find_window '^温馨提示$')
    shot question
    click_unit "$window" 523 256 50 24
    still_searches 1 "a click on the main window under the question"
    keys_to "$question" Escape
    sleep 0.3
    shown '^温馨提示$' || fail "Esc closed the yes/no box"
    # "是" has the focus.
    keys_to "$question" Return
    dialog=$(find_window '^对话框$')
    expect_size "$dialog" 249 117 "the device-ID dialog"
    # The focus is on "确定", not in the edit: typing goes nowhere, and Enter clicks "确定" on
    # the empty field.
    xdotool windowfocus --sync "$dialog"
    xdotool type --delay 30 "NS0002"
    xdotool key Return
    find_window '^quorvel$' >/dev/null
    shot empty-id
    dismiss '^quorvel$'
    click_unit "$dialog" 53 40 152 14
    xdotool type --delay 30 "NS0002"
    xdotool key Return
    dialog=$(find_window '^请输入设备的用户名和密码$')
    keys_to "$dialog" Return
    dismiss '^quorvel$'
    credentials admin secret
    expect_request 4 \
      "$(header 4 "$session" 108)$(text admin 20)$(text secret 20)$(text NS0002 32)"
    box=$(find_window '^提示$')
    shot result
    # The result box has no owner: the main window goes on working while it is open.
    click_unit "$window" 523 256 50 24
    wait_until "a search while the result box is open" searches_are 2
    "$close_box" "$box"
    wait_until "result box closed by its close box" gone '^提示$'
    "$close_box" "$window"
    expect_end
    ;;
  web)
    click_line 2 2
    has_page() { [[ -s $opened ]]; }
    wait_until "web page" has_page
    web_pages="http://198.51.100.11"
    keys_to "$window" alt+F4
    expect_end
    ;;
  *) fail "unknown scenario" ;;
esac

[[ $(cat "$opened" 2>/dev/null) == "$web_pages" ]] ||
  fail "web pages opened: \"$(cat "$opened" 2>/dev/null)\", want \"$web_pages\""
# GTK reports misuse (a widget call on a destroyed widget, a bad cast) as criticals and warnings.
if grep -E "(CRITICAL|WARNING)" "$work/program.err" >&2; then
  fail "GTK or GLib complained"
fi
echo "ok ($scenario)"
