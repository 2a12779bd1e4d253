#!/usr/bin/env bash
# Starts the program COPIES times at the same moment, ROUNDS times over, on
# an account that has run it before, each copy with a saved game of its own,
# as a file manager starts one copy per selected file. Counts the copies
# that stay (one must stay every time) and the games that arrived: the
# running copy must have opened every one (its recent games keep the 9
# newest). Run by hand; prints a line per round and a summary.
#   scripts/stress-single-instance.sh [PROGRAM] [COPIES] [ROUNDS]
set -euo pipefail
program=${1:-build/src/app/dorvane}
copies=${2:-10}
rounds=${3:-20}
program=$(readlink -f "$program")
sample=$(readlink -f "$(dirname "$0")/../tests/fuzz/corpus/saved_game/new_game.dvn")

home=$(mktemp -d)
trap 'pkill -KILL -f "^$program" 2>/dev/null || true; rm -rf "$home"' EXIT
mkdir -p "$home/config/Kvo" "$home/games"
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
config=$home/config/Kvo/Dorvane.conf
expected=$((copies < 9 ? copies : 9))

survivors() {
  local n=0
  for exe in /proc/[0-9]*/exe; do
    [ "$(readlink "$exe" 2>/dev/null)" = "$program" ] && n=$((n + 1))
  done
  echo "$n"
}

good=0
for round in $(seq 1 "$rounds"); do
  printf 'ReStart=0\n' >"$config"
  for i in $(seq 1 "$copies"); do
    cp "$sample" "$home/games/round $round game $i.dvn"
    "$program" "$home/games/round $round game $i.dvn" &
  done
  # Every later start ends within its bounded wait (2 s); give it 3, and the
  # running copy a moment to open what it was handed.
  sleep 3.5
  n=$(survivors)
  pkill -TERM -f "^$program" || true
  wait || true
  arrived=$(grep -c "^File[1-9]=.*/round $round game [0-9]*\.dvn$" "$config" || true)
  echo "round $round: $n running, $arrived of $expected games arrived"
  [ "$n" -eq 1 ] && [ "$arrived" -eq "$expected" ] && good=$((good + 1))
done
echo "$good of $rounds rounds left exactly one copy running with every game opened"
[ "$good" -eq "$rounds" ]
