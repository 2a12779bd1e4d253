# Sourced by the scripts and tests that run the real program:
# a home of its own (settings, data, runtime folder; "$home/music" for the
# scripts' generated tracks), exported as the XDG places, SDL's silent audio
# driver, and a clean-up at the exit that kills the program started as $pid
# and removes the home. Nothing of the user's settings or speakers is touched.
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
