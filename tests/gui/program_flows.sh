#!/usr/bin/env bash
# Drives the real program like an operator, with xdotool, against the simulated devices of
# tests/ns/devices/three_devices.conf, and checks what reaches the devices and what comes back.
#   program_flows.sh <quorvel> <close_box> <artefact dir> <scenario>
# Runs inside scripts/netns-run --devices ... and under with-xvfb (program_driving.sh). No
# window manager: focus follows the pointer, so each window is focused explicitly before
# typing, and close_box sends what a click on a close box sends.
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
# shellcheck source=tests/gui/program_driving.sh
source "$(dirname "${BASH_SOURCE[0]}")/program_driving.sh"

start_program
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
expect_no_gtk_complaints
echo "ok ($scenario)"
