#!/usr/bin/env bash
# Drives the GUI probe with xdotool like an operator and checks what the model saw.
#   probe_scenarios.sh <gui_probe> <artefact dir> <ok|cancel|sysmenu|worker>
# Needs a display (run it under with-xvfb); no window manager: focus follows the pointer, so
# the window is focused explicitly before typing.
set -euo pipefail

probe=$1
artefacts=$2
scenario=$3
mkdir -p "$artefacts"
work=$(mktemp -d)
log="$work/probe.log"
probe_pid=""

cleanup() {
  cp "$log" "$artefacts/probe-$scenario.log" 2>/dev/null || true
  cp "$work/probe.err" "$artefacts/probe-$scenario.err" 2>/dev/null || true
  if [ -n "$probe_pid" ] && kill -0 "$probe_pid" 2>/dev/null; then
    kill "$probe_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL ($scenario): $*" >&2
  echo "--- probe output:" >&2
  cat "$log" >&2 || true
  exit 1
}

wait_for_line() {  # extended regex, whole line
  local pattern=$1
  for _ in $(seq 1 100); do
    if grep -Eqx -- "$pattern" "$log"; then
      return 0
    fi
    if ! kill -0 "$probe_pid" 2>/dev/null; then
      grep -Eqx -- "$pattern" "$log" && return 0
      fail "probe ended before \"$pattern\""
    fi
    sleep 0.1
  done
  fail "no line \"$pattern\""
}

expect_line() { grep -Eqx -- "$1" "$log" || fail "missing line \"$1\""; }
expect_no_line() { if grep -Eqx -- "$1" "$log"; then fail "unexpected line \"$1\""; fi; }

# Centre of a control, from the probe's layout lines: "control id=N x= y= w= h=".
centre() {
  local id=$1
  local line
  line=$(grep -E "^control id=$id " "$log") || fail "no layout of control $id"
  local x y w h
  x=$(sed -E 's/.* x=(-?[0-9]+).*/\1/' <<<"$line")
  y=$(sed -E 's/.* y=(-?[0-9]+).*/\1/' <<<"$line")
  w=$(sed -E 's/.* w=([0-9]+).*/\1/' <<<"$line")
  h=$(sed -E 's/.* h=([0-9]+).*/\1/' <<<"$line")
  echo "$((x + w / 2)) $((y + h / 2))"
}

# A point inside the list box, `down` pixels below its top edge, near its left side.
list_point() {
  local down=$1
  local line
  line=$(grep -E "^control id=1103 " "$log") || fail "no layout of the list"
  local x y
  x=$(sed -E 's/.* x=(-?[0-9]+).*/\1/' <<<"$line")
  y=$(sed -E 's/.* y=(-?[0-9]+).*/\1/' <<<"$line")
  echo "$((x + 40)) $((y + down))"
}

find_window() {  # title regex
  timeout 10 xdotool search --sync --onlyvisible --name "$1" | head -n 1 ||
    fail "no window titled \"$1\""
}

# shellcheck source=tests/gui/pop_up_menu.sh
source "$(dirname "${BASH_SOURCE[0]}")/pop_up_menu.sh"

click_at() {  # x y [button] [repeat]
  xdotool mousemove --window "$window" "$1" "$2"
  sleep 0.1
  xdotool click --repeat "${4:-1}" --delay 80 "${3:-1}"
  sleep 0.2
}

probe_args=()
if [ "$scenario" = worker ]; then
  probe_args=(--worker-box)
fi
"$probe" "${probe_args[@]}" >"$log" 2>"$work/probe.err" &
probe_pid=$!
wait_for_line "paint"
window=$(find_window "^Quorvel GUI")
xdotool windowfocus --sync "$window"
sleep 0.3

case "$scenario" in
  ok)
    # shellcheck disable=SC2046
    click_at $(centre 1100)
    wait_for_line "command id=1100 code=0"
    # The box is modal to the dialog; its caption is the application's name.
    box=$(find_window "^quorvel$")
    sleep 0.3
    import -window root "$artefacts/probe-box.png"
    xdotool windowfocus --sync "$box"
    xdotool key Return
    wait_for_line "box 1"
    xdotool windowfocus --sync "$window"
    # shellcheck disable=SC2046
    click_at $(centre 1101)
    xdotool type --delay 40 "abc 测试"
    # shellcheck disable=SC2046
    click_at $(centre 1104)
    # A field takes three digits at most: the model reads 192.168.1.200, and the entry shows
    # that once Tab (through the dialog manager) has moved the focus on to the box.
    xdotool type --delay 40 "192.168.1.2000"
    xdotool key Tab
    # shellcheck disable=SC2046
    click_at $(centre 1102)
    wait_for_line "command id=1102 code=0"
    # The second line: a row is about 20 pixels high here.
    # shellcheck disable=SC2046
    click_at $(list_point 30)
    wait_for_line "command id=1103 code=1"
    sleep 0.3
    import -window root "$artefacts/probe-ok.png"
    # Enter on the list ends the dialog with IDOK; it is no double click.
    xdotool key Return
    wait_for_line "end 1"
    ;;
  cancel)
    # shellcheck disable=SC2046
    click_at $(list_point 8) 1 2
    wait_for_line "command id=1103 code=2"
    # shellcheck disable=SC2046
    click_at $(centre 1101)
    xdotool type --delay 40 "x"
    xdotool key Escape
    wait_for_line "end 2"
    ;;
  sysmenu)
    # A right click on the dialog's ground opens the menu too; Esc closes the menu only.
    pop_up_menu click_at 3 3 3
    import -window root "$artefacts/probe-sysmenu-right-click.png"
    xdotool key Escape
    sleep 0.3
    expect_no_line "command id=2 code=0"
    # Tab follows the template's tab order: "确定" -> "取消" -> the name edit.
    xdotool key Tab Tab
    pop_up_menu xdotool key alt+space
    import -window root "$artefacts/probe-sysmenu.png"
    xdotool key c
    wait_for_line "end 2"
    ;;
  worker)
    box=$(find_window "^线程消息$")
    sleep 0.3
    import -window root "$artefacts/probe-worker.png"
    xdotool windowfocus --sync "$box"
    xdotool key Return
    wait_for_line "worker box 1"
    xdotool windowfocus --sync "$window"
    xdotool key Escape
    wait_for_line "end 2"
    ;;
  *)
    fail "unknown scenario"
    ;;
esac

set +e
wait "$probe_pid"
status=$?
set -e
probe_pid=""

case "$scenario" in
  ok)
    [ "$status" -eq 1 ] || fail "exit code $status, want 1 (IDOK)"
    expect_line "init"
    expect_line "command id=1 code=0"
    expect_no_line "command id=1103 code=2"
    expect_no_line "command id=2 code=0"
    expect_line "text 1101=abc 测试"
    expect_line "text 1104=192.168.1.200"
    expect_line "shown 1104=192.168.1.200"
    expect_line "text 1105=secret"
    expect_line "check 1102=1"
    expect_line "selection 1103=1"
    expect_line "focus id=1103"
    # One selection change per click: GTK's own focus handling selects nothing.
    [ "$(grep -c -x "command id=1103 code=1" "$log")" -eq 1 ] || fail "extra LBN_SELCHANGE"
    ;;
  cancel)
    [ "$status" -eq 2 ] || fail "exit code $status, want 2 (IDCANCEL)"
    expect_line "command id=1103 code=1"
    expect_line "command id=2 code=0"
    expect_no_line "command id=1 code=0"
    expect_line "text 1101=x"
    expect_line "selection 1103=0"
    expect_line "check 1102=0"
    ;;
  sysmenu)
    [ "$status" -eq 2 ] || fail "exit code $status, want 2 (IDCANCEL)"
    expect_line "syscommand 0xF060"
    expect_line "command id=2 code=0"
    expect_line "focus id=1101"
    ;;
  worker)
    [ "$status" -eq 2 ] || fail "exit code $status, want 2 (IDCANCEL)"
    expect_line "command id=2 code=0"
    ;;
esac
# GTK reports misuse (a widget call on a destroyed widget, a bad cast) as criticals and warnings.
if grep -E "(CRITICAL|WARNING)" "$work/probe.err" >&2; then
  fail "GTK or GLib complained"
fi
echo "ok ($scenario)"
