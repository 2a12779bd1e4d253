#!/usr/bin/env bash
# Starts the program COPIES times at the same moment, ROUNDS times over, on
# an account that has run it before, and counts the copies that stay. One
# copy must stay every time. Run by hand; prints a line per round and a
# summary.
#   scripts/stress-single-instance.sh [PROGRAM] [COPIES] [ROUNDS]
set -euo pipefail
program=${1:-build/src/app/dorvane}
copies=${2:-10}
rounds=${3:-20}
program=$(readlink -f "$program")

home=$(mktemp -d)
trap 'pkill -KILL -f "^$program" 2>/dev/null || true; rm -rf "$home"' EXIT
mkdir -p "$home/config/Kvo"
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy

survivors() {
  local n=0
  for exe in /proc/[0-9]*/exe; do
    [ "$(readlink "$exe" 2>/dev/null)" = "$program" ] && n=$((n + 1))
  done
  echo "$n"
}

good=0
for round in $(seq 1 "$rounds"); do
  printf 'ReStart=0\n' >"$home/config/Kvo/Dorvane.conf"
  for _ in $(seq 1 "$copies"); do "$program" & done
  # Every later start ends within its bounded wait (2 s); give it 3.
  sleep 3.5
  n=$(survivors)
  echo "round $round: $n running"
  [ "$n" -eq 1 ] && good=$((good + 1))
  pkill -TERM -f "^$program" || true
  wait || true
done
echo "$good of $rounds rounds left exactly one copy running"
[ "$good" -eq "$rounds" ]
