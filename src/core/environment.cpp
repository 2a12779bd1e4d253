#include "core/environment.h"

#include "core/regular_file.h"

#include <QRegularExpression>

#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <vector>

namespace dorvane {

namespace {

constexpr std::size_t kMaxOsRelease = 64 * 1024;

// A shell-style value: double or single quotes, backslash escapes inside
// double quotes and outside quotes.
QString Unquoted(QByteArrayView value) {
    QByteArray out;
    char quote = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (quote == '\'') {
            if (c == '\'')
                quote = 0;
            else
                out += c;
        } else if (c == '\\' && i + 1 < value.size()) {
            out += value[++i];
        } else if (c == '"' && quote == '"') {
            quote = 0;
        } else if ((c == '"' || c == '\'') && quote == 0) {
            quote = c;
        } else {
            out += c;
        }
    }
    return QString::fromUtf8(out).trimmed();
}

QString ReadPrettyName() {
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        const TFileBytes file = ReadRegularFile(path, kMaxOsRelease);
        if (file.ok())
            return OsReleasePrettyName(QByteArray(file.bytes.data(), qsizetype(file.bytes.size())));
    }
    return {};
}

} // namespace

QString OsReleasePrettyName(const QByteArray& text) {
    QString name;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0) end = text.size();
        const QByteArrayView line = QByteArrayView(text.constData() + start, end - start).trimmed();
        start = end + 1;
        if (line.startsWith("PRETTY_NAME="))
            name = Unquoted(line.sliced(12)); // the last one counts
    }
    return name;
}

QString OsDescriptionLine(const QString& prettyName, const QString& kernelRelease) {
    if (kernelRelease.isEmpty()) return prettyName;
    static const QRegularExpression majorMinor(QStringLiteral("^\\d+\\.\\d+"));
    const QRegularExpressionMatch version = majorMinor.match(kernelRelease);
    const QString line = QStringLiteral("версия ") +
                         (version.hasMatch() ? version.captured() : kernelRelease) +
                         QStringLiteral(" (сборка ") + kernelRelease + QLatin1Char(')');
    return prettyName.isEmpty() ? line : prettyName + QLatin1Char(' ') + line;
}

QString GecosFullName(const QByteArray& gecos) {
    const qsizetype comma = gecos.indexOf(',');
    return QString::fromUtf8(comma < 0 ? gecos : gecos.left(comma)).trimmed();
}

TEnvironment ProbeOsAndOwner() {
    TEnvironment environment;
    struct utsname system {};
    const QString release = ::uname(&system) == 0 ? QString::fromUtf8(system.release) : QString();
    environment.OsDescription = OsDescriptionLine(ReadPrettyName(), release);

    // getpwuid_r with a buffer of the size the system suggests.
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(std::size_t(size > 0 ? size : 16384));
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found) {
        environment.OwnerName = GecosFullName(QByteArray(found->pw_gecos ? found->pw_gecos : ""));
        if (environment.OwnerName.isEmpty())
            environment.OwnerName = QString::fromUtf8(found->pw_name);
    }
    environment.OrganizationName = qEnvironmentVariable("ORGANIZATION").trimmed();
    return environment;
}

} // namespace dorvane
