# `make package` (CPack): a Debian package of what the install rules put
# under /usr. Its Depends come from the shared libraries of the two
# programs (dpkg-shlibdeps, from dpkg-dev); what the program uses when it
# is there but starts without is recommended.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dorvane)
set(CPACK_PACKAGE_VENDOR Kvo)
set(CPACK_PACKAGE_CONTACT "Kvo <support@dorvane.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Reversi against the computer, with background music")
set(CPACK_PACKAGE_DESCRIPTION
  "Dorvane is the two-player disc-flipping board game on an 8x8 board, for one
person against the computer at three strengths or for two people at one
board. It keeps the whole history of a game, suggests moves, saves and
loads games, and plays music from the player's folders and playlists beside
the game. The interface is in Russian.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://dorvane.example.org")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Wayland sessions, Qt's own Russian texts (the standard dialogs' buttons)
# and a General MIDI SoundFont for the MIDI files.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "qt6-wayland, qt6-translations-l10n, timgm6mb-soundfont | fluid-soundfont-gm")
# CPack builds the target "preinstall" before it installs, and that would be
# the whole tree with every test; here it builds nothing, so the package is
# made from what is built (`make package` builds the two programs first, CI's
# tree has everything). `cmake --install` never builds in any case.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)
