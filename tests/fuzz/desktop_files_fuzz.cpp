// The key files of the desktop (mimeapps.list, launchers, link launchers)
// and user-dirs.dirs: any bytes parse; an untouched file writes back as it
// was read (once its lines are split); registering and unregistering a type
// leave every other line, and a parse of the result gives the same text.
#include "desktop/desktop_entry.h"
#include "desktop/file_types.h"
#include "desktop/shortcut_resolve.h"
#include "desktop/xdg_places.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dorvane;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TKeyFile file = TKeyFile::Parse(bytes);
    const QByteArray once = file.Text();
    if (TKeyFile::Parse(once).Text() != once) std::abort();

    const QString mime = QStringLiteral("audio/mpeg");
    const QString handler = QString::fromLatin1(kHandlerId);
    RegisterDefault(file, mime, handler);
    if (file.Value(QString::fromLatin1(kDefaultsGroup), mime) != handler) std::abort();
    RegisterDefault(file, mime, handler);
    if (file.Value(QString::fromLatin1(kBackupGroup), mime) == handler) std::abort();
    UnregisterDefault(file, mime, handler);
    if (file.Value(QString::fromLatin1(kDefaultsGroup), mime) == handler) std::abort();
    const QByteArray after = file.Text();
    if (TKeyFile::Parse(after).Text() != after) std::abort();

    (void)LinkLauncherTarget(bytes);
    const QString desktop = DesktopDirFromUserDirs(bytes, QStringLiteral("/home/u"));
    if (!desktop.isEmpty() && !desktop.startsWith(QLatin1Char('/'))) std::abort();
    return 0;
}
