#!/usr/bin/env bash
# The real program with its real playback services plays a folder of two
# short generated tracks: the game window's title must read "Dorvane - 1. …"
# and then, when the first track has ended, "Dorvane - 2. …". Runs under its
# own virtual X display with SDL's silent audio driver and a home of its own,
# so nothing of the user's settings or speakers is touched. Afterwards it
# opens "Параметры" → "Музыка" and keeps a screenshot of it.
#   scripts/check-music-caption.sh [PROGRAM] [SCREENSHOT]
# Needs ffmpeg, xvfb-run, xdotool, xprop and ImageMagick's import
# (scripts/install-deps.sh test).
set -euo pipefail
program=$(readlink -f "${1:-build/src/app/dorvane}")
shot=${2:-/tmp/music-menu.png}

if [ -z "${DORVANE_CHECK_DISPLAY:-}" ]; then
  exec env DORVANE_CHECK_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$program" "$shot"
fi

. "$(dirname "$(readlink -f "$0")")/program-home.sh"

# Two tracks of 1.5 and 2 seconds; the folder search lists them by name.
ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:duration=1.5" "$home/music/first.flac"
ffmpeg -loglevel error -f lavfi -i "sine=frequency=660:duration=2" "$home/music/second.flac"
# In order, not at random, so that the first track plays first.
printf 'ReStart=0\nPlayMusic=1\nSelectionAccidental=0\nDirOfMusic=%s\n' "$home/music" \
  >"$home/config/Kvo/Dorvane.conf"

"$program" &
pid=$!

window=
for _ in $(seq 1 200); do
  window=$(xdotool search --onlyvisible --name '^Dorvane' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.05
done
if [ -z "$window" ]; then
  echo "FAIL: no game window appeared" >&2
  exit 1
fi

title() { xprop -id "$window" _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'; }

# Every title the window shows, in order, for up to 15 s.
seen=()
ok=0
start=$(date +%s%3N)
while [ $(($(date +%s%3N) - start)) -lt 15000 ]; do
  now=$(title)
  if [ "${#seen[@]}" -eq 0 ] || [ "${seen[-1]}" != "$now" ]; then
    seen+=("$now")
    echo "$(($(date +%s%3N) - start)) ms: $now"
  fi
  if [ "$now" = "Dorvane - 2. second" ]; then
    ok=1
    break
  fi
  sleep 0.05
done
first=0
for t in "${seen[@]}"; do [ "$t" = "Dorvane - 1. first" ] && first=1; done
if [ "$first" -ne 1 ] || [ "$ok" -ne 1 ]; then
  echo "FAIL: expected \"Dorvane - 1. first\" and then \"Dorvane - 2. second\"" >&2
  exit 1
fi

# "Параметры" is the second item of the menu bar; its ninth entry (the
# separator is skipped) is "Музыка".
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 70)) $((Y + 10)) click 1
sleep 0.5
xdotool key --window "$window" Down Down Down Down Down Down Down Down Right
sleep 0.5
import -window root "$shot"
echo "screenshot: $shot"
xdotool key Escape Escape

# The ordinary close (SIGTERM) writes the player's values back.
kill -TERM "$pid"
wait "$pid" || true
pid=
grep -qx 'PlayMusic=1' "$home/config/Kvo/Dorvane.conf" ||
  { echo "FAIL: PlayMusic not written at exit" >&2; exit 1; }
grep -qx "DirOfMusic=$home/music" "$home/config/Kvo/Dorvane.conf" ||
  { echo "FAIL: DirOfMusic not written at exit" >&2; exit 1; }
echo "OK"
