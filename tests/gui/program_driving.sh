# shellcheck shell=bash
# Sourced by the scripts that drive the real program like an operator, with xdotool, against the
# simulated devices of tests/ns/devices/three_devices.conf (program_flows.sh, desktop_flows.sh),
# once they have set program, close_box, artefacts and scenario. They run inside
# scripts/netns-run --devices ... (the simulator's record in QUORVEL_DEVSIM_RECORD) and under
# with-xvfb (DISPLAY), with or without a window manager. The program finds a fake xdg-open first
# on its PATH, which records the URLs it is given.
record=${QUORVEL_DEVSIM_RECORD:?run inside scripts/netns-run --devices}
# Only inside scripts/netns-run's private network: loop-back, the test networks and its veth.
if ! ip link show qv-pc >/dev/null 2>&1 ||
  ip -4 -o addr show | awk '{ split($4, a, "/"); print a[1] }' |
  grep -Ev '^(127\.|198\.51\.100\.|203\.0\.113\.)' >/dev/null; then
  echo "$(basename "$0"): refusing to run outside the private network of scripts/netns-run" >&2
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
# Without a window manager focus follows the pointer and is given directly; a window manager
# is asked to activate the window, as a click on it would.
window_manager=""
if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
  window_manager=yes
fi
focus_window() {
  if [[ -n $window_manager ]]; then
    xdotool windowactivate --sync "$1"
  else
    xdotool windowfocus --sync "$1"
  fi
}
keys_to() {  # window, keys...
  focus_window "$1"
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
  focus_window "$dialog"
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

# The program ends by itself (the dialog ended) with this status (0) within this many seconds
# (10).
expect_end() {  # [status] [seconds]
  local status want=${1:-0}
  for _ in $(seq $((20 * ${2:-10}))); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.05
  done
  kill -0 "$program_pid" 2>/dev/null && fail "the program did not end"
  set +e
  wait "$program_pid"
  status=$?
  set -e
  program_pid=""
  ((status == want)) || fail "the program ended with $status, not $want"
}

# ---- The run ------------------------------------------------------------------------------

# Starts the program (with the environment assignments given) and waits until its start-up
# search listed the three devices; sets program_pid, window, port, bx, by and session.
start_program() {  # [NAME=VALUE...]
  env PATH="$work/bin:$PATH" "$@" "$program" >"$work/program.out" 2>"$work/program.err" &
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
  focus_window "$window"
}

# GTK reports misuse (a widget call on a destroyed widget, a bad cast) as criticals and warnings.
expect_no_gtk_complaints() {
  if grep -E "(CRITICAL|WARNING)" "$work/program.err" >&2; then
    fail "GTK or GLib complained"
  fi
}
