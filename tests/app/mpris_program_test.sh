#!/usr/bin/env bash
# The real program, headless and silent, on a private session bus, driven the
# way a desktop's media keys (or playerctl) drive it: over D-Bus with
# dbus-send. It plays a folder of two generated tracks in order; Next moves to
# the second, PlayPause pauses it, Quit closes the program as "Закрыть" does
# (the exit writes the settings back).
#   tests/app/mpris_program_test.sh PROGRAM
# Needs ffmpeg, dbus-run-session and dbus-send (scripts/install-deps.sh test).
set -euo pipefail
program=$(readlink -f "$1")

if [ -z "${DORVANE_CHECK_BUS:-}" ]; then
  exec env DORVANE_CHECK_BUS=1 dbus-run-session -- "$0" "$program" 2> >(grep -v 'Failed to set fd limit' >&2)
fi

. "$(dirname "$(readlink -f "$0")")/../../scripts/virtual-home.sh"
export QT_QPA_PLATFORM=offscreen

# Long enough that only Next moves on; small and quick to make.
for name in first second; do
  ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:duration=30:sample_rate=8000" \
    "$home/music/$name.flac"
done
printf 'ReStart=0\nPlayMusic=1\nSelectionAccidental=0\nDirOfMusic=%s\n' "$home/music" \
  >"$home/config/Kvo/Dorvane.conf"

service=org.mpris.MediaPlayer2.dorvane
call() { dbus-send --session --print-reply --reply-timeout=2000 "$@"; }
player() { call --dest=$service /org/mpris/MediaPlayer2 "org.mpris.MediaPlayer2.Player.$1"; }
property() {
  call --dest=$service /org/mpris/MediaPlayer2 org.freedesktop.DBus.Properties.Get \
    string:org.mpris.MediaPlayer2.Player "string:$1" 2>/dev/null
}
title() { property Metadata | grep -A1 '"xesam:title"' | sed -n 's/.*variant *string "\(.*\)"$/\1/p'; }
status() { property PlaybackStatus | sed -n 's/.*variant *string "\(.*\)"$/\1/p'; }
owned() {
  call --dest=org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner \
    string:$service | grep -q 'boolean true'
}
# Waits up to 10 s until the command prints the expected text.
expect() {
  local want=$1 got=
  shift
  for _ in $(seq 1 200); do
    got=$("$@" || true)
    [ "$got" = "$want" ] && return 0
    sleep 0.05
  done
  echo "FAIL: $* gave \"$got\", expected \"$want\"" >&2
  exit 1
}

"$program" &
pid=$!

expect first title
expect Playing status
player Next >/dev/null
expect second title
player PlayPause >/dev/null
expect Paused status
call --dest=$service /org/mpris/MediaPlayer2 org.mpris.MediaPlayer2.Quit >/dev/null

for _ in $(seq 1 200); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.05
done
if kill -0 "$pid" 2>/dev/null; then
  echo "FAIL: Quit did not close the program" >&2
  exit 1
fi
rc=0
wait "$pid" || rc=$?
pid=
[ "$rc" -eq 0 ] || { echo "FAIL: the program ended with $rc" >&2; exit 1; }
if owned; then
  echo "FAIL: $service still has an owner" >&2
  exit 1
fi
grep -qx 'PlayMusic=1' "$home/config/Kvo/Dorvane.conf" ||
  { echo "FAIL: the settings were not written at the exit" >&2; exit 1; }
echo OK
