// The shell's values that the game window's exit writes with its own: the
// tray and window-mode switches and the start-up's restart mark.
#pragma once

#include "core/settings_schema.h"

namespace dorvane {

struct TShellSettings {
    bool MinimizeToTray; // "Минимизировать в трей"
    bool StartStandard;  // "Не скрывать окна при минимизации"
    bool ReStart;        // set by "Все по умолчанию"; a missing value counts as set
    qint32 SpeedSound;   // playback speed in percent; the playlist window writes it
};

struct TShellContext {
    bool trayAvailable = true; // "MinimizeToTray" is read only when a tray exists
};

const TSettingsSchema<TShellSettings, TShellContext>& ShellSettingsSchema();

} // namespace dorvane
