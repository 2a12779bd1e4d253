#include "shell/environment.h"

#include "core/shell_settings.h"
#include "shell/process_list.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace dorvane {

namespace {

QString FindVolumeControl() {
    for (const char* program : {"pavucontrol", "pwvucontrol", "gnome-control-center"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(program));
        if (!path.isEmpty()) return path;
    }
    return {};
}

} // namespace

TRunValues ProbeEnvironment(SettingsAccess& store) {
    TRunValues env;
    env.Machine = ProbeOsAndOwner();
    env.ProgramPath = ProcessImagePath(::getpid());
    env.ProgramFolder = QFileInfo(env.ProgramPath).absolutePath() + u'/';

    TShellSettings shell;
    {
        const TSettingsReads reads(store);
        shell = ShellSettingsSchema().Read(store);
        env.StartStandard = shell.StartStandard;
        env.RequestedSpeed = shell.SpeedSound * 10;
    }
    // A missing "ReStart" counts as set: a first run may start beside a copy
    // that is ending, like a restart.
    env.Restarted = shell.ReStart;
    env.InstanceLimit = shell.ReStart ? 2 : 1;
    shell.ReStart = false;
    ShellSettingsSchema().WriteNow(store, shell, QStringLiteral("ReStart"));
    env.RegistryWritable = store.RegistryWritable();
    if (!env.RegistryWritable) env.InstanceLimit = 1;
    env.VolumeControlPath = FindVolumeControl();
    return env;
}

void ProbeNotificationArea(TRunValues& environment, const SettingsAccess& store,
                           bool notificationArea) {
    environment.ShowMainMin =
        notificationArea && (store.RegReadBool(QStringLiteral("ShowMainMin"), false) ||
                             store.RegReadBool(QStringLiteral("RunToTray"), false));
}

} // namespace dorvane
