# shellcheck shell=bash
# Sourced by the GUI scripts, which define fail().
#   pop_up_menu <command> [args...]
# Runs a command that pops up a menu and waits until the menu's window is on the screen, so
# that the next key goes to the menu and not to the window below it.
visible_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | wc -l; }
pop_up_menu() {
  local before
  before=$(visible_windows)
  "$@"
  for _ in $(seq 100); do
    if (($(visible_windows) > before)); then
      sleep 0.1
      return 0
    fi
    sleep 0.05
  done
  fail "no menu popped up"
}
