#!/usr/bin/env bash
# A screenshot of the real program with the board's keyboard cursor shown:
# the game window under its own virtual X display (no window manager), SDL's
# silent audio driver and a home of its own. KEYS (xdotool key names, default
# "Right Up Up") are pressed on the game window before the picture is taken;
# further arguments are settings lines (e.g. StyleButton=1 ColorScheme=1).
#   scripts/shot-board-keys.sh PROGRAM SCREENSHOT [Name=Value...]
# Needs xvfb-run, xdotool and ImageMagick's import.
set -euo pipefail
program=$(readlink -f "$1")
shot=$2
shift 2
if [ -z "${DORVANE_SHOT_DISPLAY:-}" ]; then
  exec env DORVANE_SHOT_DISPLAY=1 xvfb-run -a -s "-screen 0 800x600x24" "$0" "$program" "$shot" "$@"
fi

# shellcheck source=scripts/virtual-home.sh
. "$(dirname "$(readlink -f "$0")")/virtual-home.sh"
{
  printf 'ReStart=0\nPlayMusic=0\nShowListMusic=0\nLeft=0\nTop=0\n'
  for line in "$@"; do echo "$line"; done
} >"$home/config/Kvo/Dorvane.conf"

"$program" &
pid=$!
sleep 6
# The pointer rests outside the window, so no move hides the cursor.
xdotool mousemove 790 590
window=$(xdotool search --sync --onlyvisible --name '^Dorvane' | head -n 1)
xdotool windowfocus --sync "$window"
# shellcheck disable=SC2086 # the key names are words of their own
xdotool key --delay 120 ${KEYS:-Right Up Up}
sleep 1
import -window root "$shot"
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=
