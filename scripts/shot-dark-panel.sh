#!/usr/bin/env bash
# A screenshot of the game window on a light or a dark desktop palette
# (Fusion) under its own virtual X display, to look at the panel's colours.
#   scripts/shot-dark-panel.sh GALLERY light|dark SCHEME SCREENSHOT
# GALLERY is build/tests/view/panel_gallery; SCHEME 1, 2 or 3.
# Needs xvfb-run and ImageMagick's import.
set -euo pipefail
gallery=$(readlink -f "$1")
if [ -z "${DORVANE_SHOT_DISPLAY:-}" ]; then
  exec env DORVANE_SHOT_DISPLAY=1 xvfb-run -a -s "-screen 0 700x520x24" "$0" "$gallery" "${@:2}"
fi
palette=$2 scheme=$3 shot=$4
# shellcheck source=scripts/virtual-home.sh
. "$(dirname "$(readlink -f "$0")")/virtual-home.sh"
SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb "$gallery" "$palette" "$scheme" &
pid=$!
sleep 4
import -window root -crop 640x500+0+0 "$shot"
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=
