// What the start-up learns of the system and of the settings before any
// window exists. Values that mean something only on Windows (its folders,
// the 32-bit subsystem) have no counterpart here and are left out.
#pragma once

#include "core/environment.h"
#include "core/settings_access.h"

#include <QString>

namespace dorvane {

struct TRunValues {
    QString ProgramFolder;     // the folder of the program file, with a trailing "/"
    QString ProgramPath;       // the program file itself, as /proc names it
    TEnvironment Machine;      // the OS line, the owner and the organisation
    QString VolumeControlPath; // the desktop's volume program, or empty
    int InstanceLimit = 1;     // 2 on the start after a restart (and on a first start)
    bool Restarted = false;    // "ReStart" read set: the restart's game may be waiting
    bool RegistryWritable = true;
    bool StartStandard = false;
    // Start minimised ("ShowMainMin", or "RunToTray"): only while a
    // notification area exists, which the toolkit can tell only once its
    // application object is made (ProbeNotificationArea).
    bool ShowMainMin = false;
    int RequestedSpeed = 1000; // "SpeedSound" × 10, within 10 … 2000
};

// The first step of the start: the system's values, then the start-up's
// settings, with the write of "ReStart" = false that also tells whether the
// store can be written at all.
TRunValues ProbeEnvironment(SettingsAccess& store);

// "ShowMainMin" and "RunToTray", read only when a notification area exists.
void ProbeNotificationArea(TRunValues& environment, const SettingsAccess& store,
                           bool notificationArea);

} // namespace dorvane
