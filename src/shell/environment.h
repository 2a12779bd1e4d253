// What the start-up learns of the system and of the settings before any
// window exists. Values that mean something only on Windows (its folders,
// the 32-bit subsystem, the registered organisation) have no counterpart
// here and are left out.
#pragma once

#include "core/settings_access.h"

#include <QString>

namespace dorvane {

struct TEnvironment {
    QString ProgramFolder; // the folder of the program file, with a trailing "/"
    QString ProgramPath;   // the program file itself, as /proc names it
    QString OwnerName;     // the user's full name, else the login name
    QString OsDescription; // "Debian GNU/Linux 12 (bookworm) версия 12 (сборка 6.1.0-…)"
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
TEnvironment ProbeEnvironment(SettingsAccess& store);

// "ShowMainMin" and "RunToTray", read only when a notification area exists.
void ProbeNotificationArea(TEnvironment& environment, const SettingsAccess& store,
                           bool notificationArea);

// The line of the about window: os-release's name and version with the
// kernel's release as the build. Pure, for tests: the file's text and the
// kernel release in.
QString DescribeOs(const QByteArray& osRelease, const QString& kernelRelease);

// One value of an os-release text (KEY="value", shell quoting); empty when
// missing.
QString OsReleaseValue(const QByteArray& osRelease, const QByteArray& key);

} // namespace dorvane
