// The mixer over ALSA's simple mixer: the "Master" control of the card
// "default" (on a desktop that is PulseAudio's or PipeWire's own volume).
#pragma once

#include "music/mixer_port.h"

#include <QString>

#include <memory>

namespace dorvane {

// Opens the control; the answer is always a mixer, one that is not
// Available() when the card or the control (with both a playback volume and
// a playback switch) is missing. Its notices come from the event loop of the
// thread that calls this, which must be the user-interface thread.
std::unique_ptr<TMixerPort> OpenAlsaMixer(const QString& card = QStringLiteral("default"),
                                          const QString& control = QStringLiteral("Master"),
                                          QObject* parent = nullptr);

} // namespace dorvane
