#!/usr/bin/env bash
# The real program under its own virtual X display with a window manager
# (openbox) and, with "tray", a notification area (trayer). "MinimizeToTray"
# is stored as on. With the notification area: screenshots of the icon and
# of its menu with "Окна" open; the window minimised leaves the screen and
# the window manager's client list (the taskbar) and a left click on the icon
# brings it back. Without: the window minimised stays in the client list
# (iconic), and the exit writes "MinimizeToTray" back as off.
#   scripts/check-tray.sh tray|notray [PROGRAM] [SHOT-PREFIX]
# Needs xvfb-run, openbox, trayer, xdotool, xprop and ImageMagick's import.
set -euo pipefail
mode=${1:?tray or notray}
program=$(readlink -f "${2:-build/src/app/dorvane}")
prefix=${3:-/tmp/tray-$mode}

if [ -z "${DORVANE_CHECK_DISPLAY:-}" ]; then
  exec env DORVANE_CHECK_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$mode" "$program" "$prefix"
fi

home=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$home"
}
trap cleanup EXIT
mkdir -p "$home/config/Kvo" "$home/data" "$home/run"
chmod 700 "$home/run"
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data \
  XDG_RUNTIME_DIR=$home/run SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb
# No session bus: the icon is an XEmbed one, docked in trayer.
unset DBUS_SESSION_BUS_ADDRESS
printf 'MinimizeToTray=1\n' > "$home/config/Kvo/Dorvane.conf"

openbox >/dev/null 2>&1 & pids+=($!)
sleep 1
if [ "$mode" = tray ]; then
  trayer --edge bottom --align right --widthtype request --height 32 & pids+=($!)
  sleep 1
fi
"$program" & app=$!
pids+=($app)
sleep 5

window=""
for w in $(xdotool search --name '^Dorvane'); do
  if xprop -id "$w" WM_STATE 2>/dev/null | grep -q 'window state'; then window=$w; fi
done
[ -n "$window" ] || { echo "no game window" >&2; exit 1; }
listed() { xprop -root _NET_CLIENT_LIST | grep -qi "$(printf '0x%x' "$window")" && echo yes || echo no; }
state() { xprop -id "$window" WM_STATE 2>/dev/null | sed -n 's/.*window state: //p'; }
echo "start: state $(state), in the client list: $(listed)"
import -window root "$prefix-start.png"

icon_x=1012
icon_y=752
if [ "$mode" = tray ]; then
  xdotool mousemove $icon_x $icon_y click 3
  sleep 1
  xdotool mousemove $((icon_x - 60)) $((icon_y - 36))
  sleep 1
  import -window root "$prefix-menu.png"
  xdotool key Escape key Escape
  sleep 0.5
fi

xdotool windowminimize "$window"
sleep 1.5
echo "minimised: state $(state), in the client list: $(listed)"
import -window root "$prefix-minimised.png"

if [ "$mode" = tray ]; then
  xdotool mousemove $icon_x $icon_y click 1
  sleep 1.5
  echo "after a click on the icon: state $(state), in the client list: $(listed)"
  import -window root "$prefix-restored.png"
fi

if [ "$mode" = tray ]; then
  # The notification area goes while the window waits in it: the window
  # comes back by itself. Then the area is rebuilt and the icon must come
  # back into the new one.
  xdotool windowminimize "$window"
  sleep 1.5
  echo "minimised again: state $(state), in the client list: $(listed)"
  kill "${pids[1]}"
  sleep 3
  echo "the notification area gone: state $(state), in the client list: $(listed)" 
  import -window root "$prefix-no-area.png"
  trayer --edge bottom --align right --widthtype request --height 32 & pids+=($!)
  sleep 4
  import -window root "$prefix-area-again.png"
  # The icon's corner of the screen: black without the area, the icon with it.
  corner() { convert "$1" -crop 24x24+1000+744 -format '%[fx:mean]' info:; }
  echo "icon corner brightness: without the area $(corner "$prefix-no-area.png"), with it again $(corner "$prefix-area-again.png")"
fi

xdotool windowactivate --sync "$window" key alt+F4 || kill "$app"
wait "$app" || true
echo "stored at exit: $(grep -i '^MinimizeToTray=' "$home/config/Kvo/Dorvane.conf")"
