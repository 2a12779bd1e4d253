// The playlist window's button pictures: the style's own where it has one
// that says the same, else small drawings.
#pragma once

#include <QIcon>

class QStyle;

namespace dorvane {

enum class TPlayerIcon {
    Open,
    Add,
    History,
    Save,
    QueryTags,
    EditTitle,
    Sort,
    ColourScheme,
    Columns,
    Oscilloscope,
    ScreenSaver,
    Program,
    VolumeProgram,
    Close,
    Previous,
    Next,
    Play,
    Pause,
    ToBeginning,
    Random,
    Sound,
    SoundOff,
    OneClick,
};

QIcon PlayerIcon(TPlayerIcon icon, const QStyle* style);

} // namespace dorvane
