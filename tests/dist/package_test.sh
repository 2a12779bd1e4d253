#!/usr/bin/env bash
# The Debian package made by CPack from the install rules of an already
# built tree: its control fields, its files, the validators on the installed
# launcher and metainfo, the saved games' MIME rule, and the programs run
# from a root it is unpacked into.
# Usage: package_test.sh CPACK BUILD_DIR VERSION
# Exit code 77 (skipped) without dpkg-deb.
set -euo pipefail
cpack=$1 build=$2 version=$3
command -v dpkg-deb >/dev/null || { echo "dpkg-deb is missing: skipped"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack did not make the package"; }
debs=("$work"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single .deb in ${debs[*]}"
deb=${debs[0]}
echo "package: ${deb##*/}"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = dorvane ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Section)" = games ] || fail "Section: $(field Section)"
# Depends comes from the programs' libraries, not from a hand-written list.
depends=$(field Depends)
echo "Depends: $depends"
for lib in libc6 libqt6widgets6 libqt6dbus6 libsdl2 libfluidsynth libavformat libasound2 libjpeg62-turbo; do
  [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib"
done
recommends=$(field Recommends)
for p in qt6-wayland qt6-translations-l10n timgm6mb-soundfont; do
  [[ "$recommends" == *"$p"* ]] || fail "Recommends lacks $p: $recommends"
done

dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$work/files"
expected=(
  /usr/bin/dorvane
  /usr/bin/dorvane-tool
  /usr/share/man/man6/dorvane.6.gz
  /usr/share/man/man6/dorvane-tool.6.gz
  /usr/share/applications/dorvane.desktop
  /usr/share/icons/hicolor/16x16/apps/dorvane.png
  /usr/share/icons/hicolor/256x256/apps/dorvane.png
  /usr/share/icons/hicolor/scalable/apps/dorvane.svg
  /usr/share/mime/packages/dorvane.xml
  /usr/share/metainfo/org.example.dorvane.Dorvane.metainfo.xml
  /usr/share/dorvane/readme.html
  /usr/share/dorvane/Sound/dorvane_theme.mid
)
for f in "${expected[@]}"; do
  grep -qx -- "$f" "$work/files" || fail "the package lacks $f"
done
# Nothing of the build or the tests comes along.
if grep -E 'test|bench|artgen|fuzz|\.a$|/include/' "$work/files"; then fail "files that are not the program's"; fi

root=$work/root
dpkg-deb -x "$deb" "$root"
share=$root/usr/share
for page in dorvane dorvane-tool; do
  gzip -t "$share/man/man6/$page.6.gz" || fail "$page.6.gz is no gzip file"
  zcat "$share/man/man6/$page.6.gz" | grep -q "^\.TH ${page^^} 6" || fail "$page.6 has no title line"
done

if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$share/applications/dorvane.desktop" 2>&1) || fail "desktop-file-validate: $out"
  [ -z "$out" ] || fail "desktop-file-validate: $out"
fi
if command -v appstreamcli >/dev/null; then
  out=$(appstreamcli validate --no-net --no-color "$share/metainfo/org.example.dorvane.Dorvane.metainfo.xml" 2>&1) ||
    fail "appstreamcli: $out"
  # Clean: no warnings and no infos either.
  if grep -E '^[EWI]:' <<<"$out"; then fail "appstreamcli is not clean"; fi
  grep -q '<screenshot' "$share/metainfo/org.example.dorvane.Dorvane.metainfo.xml" || fail "no screenshots"
fi

# The saved games are known by their first bytes, whatever their name.
if command -v update-mime-database >/dev/null; then
  update-mime-database "$share/mime" 2>/dev/null
  printf 'D\0o\0r\0v\0a\0' >"$work/header" && head -c 6301 /dev/zero >>"$work/header"
  cp "$work/header" "$work/saved game"
  if command -v xdg-mime >/dev/null && command -v mimetype >/dev/null; then
    for f in "$work/saved game"; do
      type=$(env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
        XDG_DATA_DIRS="$share" XDG_DATA_HOME="$work/nohome" xdg-mime query filetype "$f")
      [ "$type" = application/x-dorvane-game ] || fail "xdg-mime takes '${f##*/}' for $type"
    done
  else
    echo "xdg-mime or mimetype missing: the magic rule checked in the compiled database only"
  fi
  od -An -c "$share/mime/magic" | tr -d ' \n' | grep -q 'D\\0o\\0r\\0v\\0a\\0' || fail "no magic rule compiled"
fi

# The programs run from the unpacked root with its data folder.
perft=$("$root/usr/bin/dorvane-tool" perft 3) || fail "dorvane-tool perft 3 failed"
[ "$(cut -d' ' -f1,2 <<<"$perft" | tr '\n' ' ')" = "1 4 2 12 3 56 " ] || fail "perft 3: $perft"
echo "dorvane-tool perft 3: ok"
# Without a display, settings or another copy, the program answers --version
# with the package's version and leaves the home folder empty.
mkdir "$work/home"
answer=$(ulimit -c 0; env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work/home" \
  XDG_RUNTIME_DIR="$work/home" timeout 20 "$root/usr/bin/dorvane" --version 2>"$work/stderr") ||
  { cat "$work/stderr" >&2; fail "dorvane --version ended with $?"; }
[ "$answer" = "Dorvane $version" ] || fail "dorvane --version: $answer"
[ ! -s "$work/stderr" ] || { cat "$work/stderr" >&2; fail "dorvane --version wrote on stderr"; }
[ -z "$(ls -A "$work/home")" ] || fail "dorvane --version left files: $(ls -A "$work/home")"
echo "dorvane --version: $answer"
