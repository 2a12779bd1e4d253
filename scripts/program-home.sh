# Sourced by the scripts that run the real program: a home of its own, so
# that nothing of the user's settings, data or speakers is touched (settings
# and data folders, a private runtime folder, an empty music folder, SDL's
# silent driver). It goes at the exit, and the program, once the script has
# put its process id in $pid, is killed with it if it still runs.
home=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid"; fi
  rm -rf "$home"
}
trap cleanup EXIT
mkdir -p "$home/config/Kvo" "$home/data" "$home/run" "$home/music"
chmod 700 "$home/run"
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data \
  XDG_RUNTIME_DIR=$home/run SDL_AUDIODRIVER=dummy
