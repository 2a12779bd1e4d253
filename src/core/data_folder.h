// Where the program's installed data lives (the music folder "Sound" and
// whatever else is installed beside the program): the source tree's data
// folder while the program runs from its build tree, <prefix>/share/dorvane
// once installed (found relative to the executable, so an installed tree
// may be moved).
#pragma once

#include <QString>

namespace dorvane {

QString DataFolder();
// The music player's default folder.
QString MusicFolder();

} // namespace dorvane
