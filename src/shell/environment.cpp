#include "shell/environment.h"

#include "core/regular_file.h"
#include "core/shell_settings.h"
#include "shell/process_list.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace dorvane {

namespace {

constexpr std::size_t kMostOsReleaseBytes = 64 * 1024;

QByteArray ReadOsRelease() {
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        const TFileBytes file = ReadRegularFile(path, kMostOsReleaseBytes);
        if (file.ok()) return QByteArray(file.bytes.data(), qsizetype(file.bytes.size()));
    }
    return {};
}

QString KernelRelease() {
    utsname names{};
    if (::uname(&names) != 0) return {};
    return QString::fromLocal8Bit(names.release);
}

QString UserFullName() {
    const passwd* user = ::getpwuid(::getuid());
    if (!user) return {};
    // The full name is the first of the comma-separated fields.
    QString name = QString::fromLocal8Bit(user->pw_gecos ? user->pw_gecos : "").section(u',', 0, 0);
    name = name.trimmed();
    return name.isEmpty() ? QString::fromLocal8Bit(user->pw_name) : name;
}

QString FindVolumeControl() {
    for (const char* program : {"pavucontrol", "pwvucontrol", "gnome-control-center"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(program));
        if (!path.isEmpty()) return path;
    }
    return {};
}

} // namespace

QString OsReleaseValue(const QByteArray& osRelease, const QByteArray& key) {
    for (const QByteArray& rawLine : osRelease.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (!line.startsWith(key + '=')) continue;
        const QByteArray value = line.mid(key.size() + 1);
        QByteArray text;
        char quote = 0;
        for (qsizetype i = 0; i < value.size(); ++i) {
            const char c = value[i];
            if (quote == 0 && (c == '"' || c == '\'')) {
                quote = c;
            } else if (c == quote) {
                quote = 0;
            } else if (c == '\\' && quote != '\'' && i + 1 < value.size()) {
                text += value[++i];
            } else {
                text += c;
            }
        }
        return QString::fromUtf8(text);
    }
    return {};
}

QString DescribeOs(const QByteArray& osRelease, const QString& kernelRelease) {
    QString name = OsReleaseValue(osRelease, "PRETTY_NAME");
    if (name.isEmpty()) name = OsReleaseValue(osRelease, "NAME");
    if (name.isEmpty()) name = QStringLiteral("Linux");
    QString text = name;
    const QString version = OsReleaseValue(osRelease, "VERSION_ID");
    if (!version.isEmpty()) text += QStringLiteral(" версия ") + version;
    if (!kernelRelease.isEmpty()) text += QStringLiteral(" (сборка ") + kernelRelease + u')';
    return text;
}

TEnvironment ProbeEnvironment(SettingsAccess& store) {
    TEnvironment env;
    env.OwnerName = UserFullName();
    env.OsDescription = DescribeOs(ReadOsRelease(), KernelRelease());
    env.ProgramPath = ProcessImagePath(::getpid());
    env.ProgramFolder = QFileInfo(env.ProgramPath).absolutePath() + u'/';

    TShellSettings shell;
    {
        const TSettingsReads reads(store);
        shell = ShellSettingsSchema().Read(store);
        env.StartStandard = shell.StartStandard;
        env.RequestedSpeed =
            qBound(10, store.RegReadInteger(QStringLiteral("SpeedSound"), 100) * 10, 2000);
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

void ProbeNotificationArea(TEnvironment& environment, const SettingsAccess& store,
                           bool notificationArea) {
    environment.ShowMainMin =
        notificationArea && (store.RegReadBool(QStringLiteral("ShowMainMin"), false) ||
                             store.RegReadBool(QStringLiteral("RunToTray"), false));
}

} // namespace dorvane
