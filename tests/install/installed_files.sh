#!/usr/bin/env bash
# What `cmake --install` puts in place, installed into a temporary prefix:
#   installed_files.sh <build dir>
# the program, its desktop entry (valid, named as the program's application id, matching its
# WM_CLASS, starting the program with the icon below) and its icon in the hicolor theme at the
# size the program has (32 x 32, with transparency).
set -euo pipefail

build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cmake --install "$build" --prefix "$prefix" >/dev/null

[[ -x $prefix/bin/quorvel ]] || fail "no bin/quorvel"

entry=$prefix/share/applications/quorvel.desktop
[[ -f $entry ]] || fail "no share/applications/quorvel.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate complains"
key() { sed -n "s/^$1=//p" "$entry"; }
[[ $(key Exec) == quorvel ]] || fail "Exec is \"$(key Exec)\""
[[ $(key Icon) == quorvel ]] || fail "Icon is \"$(key Icon)\""
# GTK names the window's class after the program: instance "quorvel", class "Quorvel".
[[ $(key StartupWMClass) == Quorvel ]] || fail "StartupWMClass is \"$(key StartupWMClass)\""

icon=$prefix/share/icons/hicolor/32x32/apps/quorvel.png
[[ -f $icon ]] || fail "no icon in share/icons/hicolor/32x32/apps"
[[ $(identify -format '%m %wx%h %A' "$icon") =~ ^PNG\ 32x32\ ([Bb]lend|True) ]] ||
  fail "the icon is $(identify -format '%m %wx%h alpha %A' "$icon")"
expected="bin/quorvel share/applications/quorvel.desktop"
expected+=" share/icons/hicolor/32x32/apps/quorvel.png"
installed=$(find "$prefix" -type f | sed "s|^$prefix/||" | sort | xargs)
[[ $installed == "$expected" ]] || fail "installed: $installed"
echo "ok"
