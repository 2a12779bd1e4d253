#!/usr/bin/env bash
# Installs the Debian 12 packages that Dorvane needs to build, test and run.
# Idempotent: silent when everything is present; runs apt-get update only when
# something is missing; uses sudo when not run as root.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ make pkg-config
  # Qt 6 (Core for the models and the settings store, Widgets for the windows)
  qt6-base-dev qt6-translations-l10n
  # game sounds (SDL2 audio) and JPEG pictures
  libsdl2-dev libjpeg62-turbo-dev
  # screenshots of windows in tests and artwork contact sheets
  imagemagick xvfb xauth
  # the game window on X11 (the xcb platform plugin) with a known font; xdotool for screenshots
  libqt6gui6 fonts-dejavu-core xdotool
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # fuzzing the file readers (make fuzz)
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
