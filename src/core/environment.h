// What the about window says about the machine and its user: one line naming
// the operating system, the owner of this copy and the organisation.
#pragma once

#include <QByteArray>
#include <QString>

namespace dorvane {

struct TEnvironment {
    // "<PRETTY_NAME> версия <kernel major.minor> (сборка <kernel release>)",
    // e.g. "Debian GNU/Linux 12 (bookworm) версия 6.1 (сборка 6.1.0-18-amd64)".
    QString OsDescription;
    QString OwnerName;        // the user's full name, else the login name
    QString OrganizationName; // $ORGANIZATION (the mail and news convention), else empty
};

// Reads /etc/os-release (or /usr/lib/os-release), the kernel's release and the
// user's account entry. Anything missing leaves its part empty.
TEnvironment ProbeOsAndOwner();

// The value of PRETTY_NAME in os-release text (quotes and backslash escapes
// undone); empty when there is none.
QString OsReleasePrettyName(const QByteArray& text);
// The line of OsDescription from its parts; the name alone without a kernel
// release, the kernel part alone without a name.
QString OsDescriptionLine(const QString& prettyName, const QString& kernelRelease);
// The full name of a GECOS field: the text before its first comma.
QString GecosFullName(const QByteArray& gecos);

} // namespace dorvane
