#!/usr/bin/env bash
# Drives the real program like an operator, with xdotool, against the simulated devices of
# tests/ns/devices/three_devices.conf, and checks what reaches the devices and what comes back.
#   program_flows.sh <quorvel> <artefact dir> <reboot|modify>
# Runs inside scripts/netns-run --devices ... (the simulator's record in QUORVEL_DEVSIM_RECORD)
# and under with-xvfb (DISPLAY). No window manager: focus follows the pointer, so each window
# is focused explicitly before typing.
#
#   reboot: first line, "重启", user name and password, Enter: the 108-byte request naming the
#           first device by its serial; the device refuses with a text, shown under
#           "用戶名或密码错误".
#   modify: first line, a new address typed into row 0, "修改", credentials, Enter: the
#           548-byte request; the device accepts, the box "提示" follows.
set -euo pipefail

program=$1
artefacts=$2
scenario=$3
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

click_at() {  # window x y
  xdotool mousemove --window "$1" "$2" "$3"
  xdotool click 1
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

credentials() {
  local dialog
  dialog=$(find_window '^请输入设备的用户名和密码$')
  xdotool windowfocus --sync "$dialog"
  read -r bx by <<<"$(base_units "$dialog" 222 148)"
  # The dialog opens with the focus on "确定": click into the user name edit (65,39,81,14).
  # shellcheck disable=SC2046
  click_at "$dialog" $(centre 65 39 81 14)
  xdotool type --delay 30 "admin"
  xdotool key Tab
  xdotool type --delay 30 "secret"
  shot credentials
  xdotool key Return
  read -r bx by <<<"$(base_units "$window" 580 292)"
}

# ---- The run ------------------------------------------------------------------------------

"$program" >"$work/program.out" 2>"$work/program.err" &
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
click_at "$window" $(($(px_x 3) + 40)) $(($(px_y 0) + by * 3 / 4))
shot selected

serial_hex=d0f2c1d02d3031  # 序列-01 in code page 936, the first device's serial
case $scenario in
  reboot)
    command=4
    # shellcheck disable=SC2046
    click_at "$window" $(centre 465 256 50 24)
    credentials
    expected="$(header 4 "$session" 108)$(text admin 20)$(text secret 20)$(field_hex $serial_hex 32)"
    result_caption='用戶名或密码错误'
    ;;
  modify)
    command=2
    # Row 0's address control (151,171,100,15): all of its text replaced.
    # shellcheck disable=SC2046
    click_at "$window" $(centre 151 171 100 15)
    xdotool key ctrl+a
    xdotool type --delay 30 "198.51.100.77"
    # shellcheck disable=SC2046
    click_at "$window" $(centre 405 256 50 24)
    credentials
    # Header, credentials, the device's 336 identity bytes (name, serial, type, activation,
    # firmware, software, upgrade), the DNS box and texts, the count, one entry: four texts,
    # the device's opaque bytes, the row's box.
    expected="$(header 2 "$session" 548)$(text admin 20)$(text secret 20)"
    expected+="$(text 前台摄像机 192)$(field_hex $serial_hex 32)$(text IPC-100 32)"
    expected+="$(text 2023-01-01 20)$(text V1.2.3 20)$(text V4.5.6 20)$(text 2024-02-02 20)"
    expected+="$(be32 0)$(text 198.51.100.1 20)$(text 198.51.100.2 20)$(be32 1)"
    expected+="$(text eth0 20)$(text 198.51.100.77 20)$(text 255.255.255.0 20)"
    expected+="$(text 198.51.100.1 20)a1a2a3a4$(be32 0)"
    result_caption='提示'
    ;;
  *) fail "unknown scenario" ;;
esac

# Every address of the LAN side and both broadcasts get the same bytes; the device answers
# each of its three copies.
wait_until "request at the simulator" at_least recv $command 5
wait_until "answers to the request" at_least sent $((0xF000 + command)) 3
[[ $(datagrams recv $command | awk '{ print $1 }' | sort | tr '\n' ' ') == \
  "198.51.100.10 198.51.100.11 198.51.100.12 198.51.100.255 255.255.255.255 " ]] ||
  fail "request copies went to: $(datagrams recv $command | awk '{ print $1 }' | tr '\n' ' ')"
while read -r destination bytes; do
  [[ $bytes == "$expected" ]] ||
    fail "the copy to $destination differs:"$'\n'"  got  $bytes"$'\n'"  want $expected"
done < <(datagrams recv $command)

box=$(find_window "^$result_caption\$")
shot result
(($(xdotool search --onlyvisible --name "^$result_caption\$" | wc -l) == 1)) ||
  fail "more than one result box"
xdotool windowfocus --sync "$box"
xdotool key Return
box_gone() { ! xdotool search --onlyvisible --name "^$result_caption\$" >/dev/null; }
wait_until "result box closed" box_gone

# Esc ends the program.
xdotool windowfocus --sync "$window"
xdotool key Escape
set +e
wait "$program_pid"
status=$?
set -e
program_pid=""
((status == 0)) || fail "the program ended with $status"
# GTK reports misuse (a widget call on a destroyed widget, a bad cast) as criticals and warnings.
if grep -E "(CRITICAL|WARNING)" "$work/program.err" >&2; then
  fail "GTK or GLib complained"
fi
echo "ok ($scenario)"
