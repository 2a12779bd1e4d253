#!/usr/bin/env bash
# A screenshot of the real program with its playlist window open over a
# folder of 24 generated tracks, under its own virtual X display with SDL's
# silent audio driver and a home of its own. Further arguments are settings
# lines for the window (e.g. ListColor=0 IndicatorModification=2); the
# settings the window wrote at the exit are kept beside the picture.
#   scripts/shot-playlist.sh PROGRAM SCREENSHOT [Name=Value...]
# ACTION, when set, is run (eval) before the picture is taken, e.g. xdotool
# clicks. Needs ffmpeg, xvfb-run, xdotool and ImageMagick's import.
set -euo pipefail
program=$(readlink -f "$1")
shot=$2
shift 2
if [ -z "${DORVANE_SHOT_DISPLAY:-}" ]; then
  exec env DORVANE_SHOT_DISPLAY=1 xvfb-run -a -s "-screen 0 1400x900x24" "$0" "$program" "$shot" "$@"
fi

. "$(dirname "$(readlink -f "$0")")/program-home.sh"
for i in $(seq 1 24); do
  ffmpeg -loglevel error -f lavfi -i "sine=frequency=$((200 + i * 20)):duration=$((20 + i))" \
    "$home/music/Track $(printf %02d "$i") - Песня номер $i.flac"
done
{
  printf 'ReStart=0\nPlayMusic=1\nSelectionAccidental=0\nShowListMusic=1\nLeft=0\nTop=0\n'
  printf 'DirOfMusic=%s\n' "$home/music"
  for line in "$@"; do echo "$line"; done
} >"$home/config/Kvo/Dorvane.conf"

"$program" &
pid=$!
sleep 6
if [ -n "${ACTION:-}" ]; then
  eval "$ACTION"
  sleep 1
fi
import -window root "$shot"
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=
grep -E '^(List|Indicator)' "$home/config/Kvo/Dorvane.conf" >"$shot.conf" || true
