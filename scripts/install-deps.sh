#!/usr/bin/env bash
# Installs the Debian 12 packages that Dorvane needs, by group:
#   run     build and run the program (the default)
#   test    run + the test and benchmark libraries and the screenshot tools
#   package run + what `make package` needs (dpkg-shlibdeps)
#   fuzz    run + clang with libFuzzer and the sanitizer runtimes
#   format  clang-format
# Usage: scripts/install-deps.sh [group...]
# Idempotent: silent when everything is present; runs apt-get update only when
# something is missing; uses sudo when not run as root.
set -euo pipefail

run_packages=(
  # build
  cmake ninja-build g++ make pkg-config ccache
  # Qt 6 (Core for the models and the settings store, Widgets for the windows)
  qt6-base-dev qt6-translations-l10n
  # game sounds (SDL2 audio) and JPEG pictures
  libsdl2-dev libjpeg62-turbo-dev
  # the music player's MIDI synthesizer with a General MIDI SoundFont, and
  # the system mixer for master volume and mute
  libfluidsynth-dev timgm6mb-soundfont libasound2-dev
  # music decoding (FFmpeg)
  libavformat-dev libavcodec-dev libswresample-dev libavutil-dev
  # the game window on X11 (the xcb platform plugin) with a known font
  libqt6gui6 fonts-dejavu-core
)
test_packages=(
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # the tag readers' benchmark compares with TagLib (bench/ only)
  libtag1-dev
  # screenshots of windows in tests and artwork contact sheets
  xvfb xauth xdotool imagemagick
  # scripts/check-music-caption.sh: its generated tracks and the window's title
  ffmpeg x11-utils
  # a window manager and a notification area under Xvfb (scripts/check-tray.sh); the
  # AppStream checker for the installed metainfo file
  openbox trayer appstream desktop-file-utils
  # the media controls' tests: a private session bus and its command-line client
  dbus-daemon dbus-bin
  # the package's test: xdg-mime with the shared-mime-info reader it uses
  # outside GNOME and KDE
  xdg-utils libfile-mimeinfo-perl
)
package_packages=(
  # `make package`: dpkg-shlibdeps computes the package's Depends
  dpkg-dev
)
fuzz_packages=(
  # fuzzing the file readers (make fuzz)
  clang libclang-rt-14-dev
)
format_packages=(
  clang-format
)

usage() {
  echo "usage: $0 [run|test|package|fuzz|format]..." >&2
  exit 2
}

[ $# -gt 0 ] || set -- run
packages=()
for group in "$@"; do
  case "$group" in
    run) packages+=("${run_packages[@]}") ;;
    test) packages+=("${run_packages[@]}" "${test_packages[@]}" "${package_packages[@]}") ;;
    package) packages+=("${run_packages[@]}" "${package_packages[@]}") ;;
    fuzz) packages+=("${run_packages[@]}" "${fuzz_packages[@]}") ;;
    format) packages+=("${format_packages[@]}") ;;
    -h|--help) usage ;;
    *) echo "install-deps: unknown group '$group'" >&2; usage ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  if [ "$status" != "installed" ] && [[ " ${missing[*]} " != *" $p "* ]]; then
    missing+=("$p")
  fi
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
