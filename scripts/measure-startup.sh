#!/usr/bin/env bash
# Times the start of the program under the current X display (run it inside
# xvfb-run): from the exec to the splash on screen, to the game window on
# screen, and to the splash gone; then the resident memory once started.
# Prints one line per run and the medians.
#   scripts/measure-startup.sh [PROGRAM] [RUNS]
set -euo pipefail
program=$(readlink -f "${1:-build/src/app/dorvane}")
runs=${2:-9}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/config/Kvo" "$home/run"
chmod 700 "$home/run"
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/run SDL_AUDIODRIVER=dummy

now_ms() { date +%s%3N; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

: >"$home/splash" ; : >"$home/window" ; : >"$home/gone" ; : >"$home/rss"
for run in $(seq 1 "$runs"); do
  printf 'ReStart=0\n' >"$home/config/Kvo/Dorvane.conf"
  start=$(now_ms)
  "$program" &
  pid=$!
  splash=-1 window=-1 gone=-1
  for _ in $(seq 1 400); do
    t=$(( $(now_ms) - start ))
    # One listing of the mapped windows: the splash is the 340x100 one, the
    # game window the one captioned "Dorvane".
    tree=$(xwininfo -root -children 2>/dev/null | grep -v '(has no name)' || true)
    if [ "$splash" -lt 0 ] && grep -q ' 340x100+' <<<"$tree"; then splash=$t; fi
    if [ "$window" -lt 0 ] && grep -q '"Dorvane": ("dorvane"' <<<"$tree"; then window=$t; fi
    if [ "$window" -ge 0 ] && ! grep -q ' 340x100+' <<<"$tree"; then gone=$t; break; fi
    sleep 0.002
  done
  sleep 1
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  echo "run $run: splash ${splash} ms, game window ${window} ms, splash gone ${gone} ms, rss ${rss} kB"
  echo "$splash" >>"$home/splash"; echo "$window" >>"$home/window"; echo "$gone" >>"$home/gone"; echo "$rss" >>"$home/rss"
  kill -TERM "$pid"; wait "$pid" || true
done
echo "median: splash $(median <"$home/splash") ms, game window $(median <"$home/window") ms," \
  "splash gone $(median <"$home/gone") ms, rss $(median <"$home/rss") kB"
