#include "desktop/file_types.h"

#include "desktop/launchers.h"
#include "desktop/own_files.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

namespace dorvane {

namespace {

QString Group(const char* name) {
    return QString::fromLatin1(name);
}

// Reads an outside key file; a name taken by something that is not a
// regular file of text gives nothing to work on (and nothing is written
// over it).
std::optional<TKeyFile> ReadKeyFile(const QString& path) {
    if (!EntryExists(path)) return TKeyFile{};
    if (!MayWriteOver(path)) return std::nullopt;
    const auto text = ReadOutsideFile(path, kMaxDesktopFile);
    if (!text || !TKeyFile::IsText(*text)) return std::nullopt;
    return TKeyFile::Parse(*text);
}

// Writes the key file only when its text changes: false when it had to be
// written and could not; changed tells whether it was written.
bool WriteKeyFile(const QString& path, const TKeyFile& file, bool* changed = nullptr) {
    const QByteArray text = file.Text();
    const auto old = ReadOutsideFile(path, kMaxDesktopFile);
    const bool differs = !old || *old != text;
    if (changed) *changed = differs;
    return !differs || WriteOwnFile(path, text);
}

void RunInBackground(const QString& program, const QStringList& arguments) {
    // A missing tool only leaves a cache stale; nothing waits for it.
    QProcess::startDetached(program, arguments);
}

} // namespace

QStringList ExtensionsOfMasks(const QString& masks) {
    QStringList extensions;
    for (QString piece : masks.split(QLatin1Char(';'))) {
        if (piece.startsWith(QLatin1Char('*'))) piece.remove(0, 1);
        if (piece.startsWith(QLatin1Char('.'))) piece.remove(0, 1);
        if (!piece.isEmpty()) extensions << piece.toLower();
    }
    return extensions;
}

QString MimeTypeForExtension(const QString& extension) {
    const QString lower = extension.toLower();
    if (lower == QStringLiteral("dvn")) return QString::fromLatin1(kGameMimeType);
    const QMimeType type = QMimeDatabase().mimeTypeForFile(QStringLiteral("x.") + lower,
                                                           QMimeDatabase::MatchExtension);
    if (type.isValid() && !type.isDefault()) return type.name();
    return QStringLiteral("application/x-dorvane-") + lower;
}

QByteArray MimePackageText() {
    return QByteArrayLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"application/x-dorvane-game\">\n"
        "    <comment>Dorvane DVN file</comment>\n"
        "    <comment xml:lang=\"ru\">Сохранённая игра Dorvane</comment>\n"
        "    <glob pattern=\"*.dvn\"/>\n"
        "    <magic priority=\"50\">\n"
        "      <match type=\"string\" offset=\"0\" value=\"D\\0o\\0r\\0v\\0a\\0\"/>\n"
        "    </magic>\n"
        "  </mime-type>\n"
        "</mime-info>\n");
}

void RegisterDefault(TKeyFile& mimeApps, const QString& mimeType, const QString& handler) {
    const QString old = mimeApps.Value(Group(kDefaultsGroup), mimeType);
    // The program's own entry is never a previous default: registering twice
    // keeps the backup of the first time.
    if (!old.isEmpty() && old != handler) mimeApps.SetValue(Group(kBackupGroup), mimeType, old);
    // A backup naming the program itself (written by hand, or by another
    // copy's bug) would give the type back to the program: it is none.
    if (mimeApps.Value(Group(kBackupGroup), mimeType) == handler)
        mimeApps.RemoveKey(Group(kBackupGroup), mimeType);
    mimeApps.SetValue(Group(kDefaultsGroup), mimeType, handler);
    QStringList added = mimeApps.List(Group(kAddedGroup), mimeType);
    added.removeAll(handler);
    added.prepend(handler);
    mimeApps.SetList(Group(kAddedGroup), mimeType, added);
    QStringList removed = mimeApps.List(Group(kRemovedGroup), mimeType);
    if (removed.removeAll(handler) > 0) mimeApps.SetList(Group(kRemovedGroup), mimeType, removed);
}

void UnregisterDefault(TKeyFile& mimeApps, const QString& mimeType, const QString& handler) {
    if (mimeApps.Value(Group(kDefaultsGroup), mimeType) == handler) {
        const QString backup = mimeApps.Value(Group(kBackupGroup), mimeType);
        if (backup.isEmpty() || backup == handler)
            mimeApps.RemoveKey(Group(kDefaultsGroup), mimeType);
        else
            mimeApps.SetValue(Group(kDefaultsGroup), mimeType, backup);
        mimeApps.RemoveKey(Group(kBackupGroup), mimeType);
    }
    QStringList added = mimeApps.List(Group(kAddedGroup), mimeType);
    if (added.removeAll(handler) > 0) mimeApps.SetList(Group(kAddedGroup), mimeType, added);
}

QString TFileTypes::HandlerPath() const {
    return places_.Applications() + QLatin1Char('/') + QString::fromLatin1(kHandlerId);
}

TKeyFile TFileTypes::Handler() const {
    const auto read = ReadKeyFile(HandlerPath());
    return read ? *read : TKeyFile{};
}

bool TFileTypes::WriteHandler(const TKeyFile& handler) const {
    // Everything but the type list is the program's and written each time,
    // so a moved program is found again.
    TKeyFile file = handler;
    const QString entry = QStringLiteral("Desktop Entry");
    file.SetValue(entry, QStringLiteral("Type"), QStringLiteral("Application"));
    file.SetValue(entry, QStringLiteral("Name"), QStringLiteral("Dorvane"));
    file.SetValue(entry, QStringLiteral("Exec"), ExecQuoted(programPath_) + QStringLiteral(" %F"));
    file.SetValue(entry, QStringLiteral("Icon"), QStringLiteral("dorvane"));
    file.SetValue(entry, QStringLiteral("NoDisplay"), QStringLiteral("true"));
    file.SetValue(entry, QStringLiteral("Terminal"), QStringLiteral("false"));
    return WriteKeyFile(HandlerPath(), file);
}

void TFileTypes::AssociateType(bool registerType, const QString& extension) const {
    const QString mimeType = MimeTypeForExtension(extension);
    const QString handlerId = QString::fromLatin1(kHandlerId);
    const QString entry = QStringLiteral("Desktop Entry");
    TKeyFile handler = Handler();
    QStringList types = handler.List(entry, QStringLiteral("MimeType"));
    types.removeAll(mimeType);
    if (registerType) types << mimeType;
    handler.SetList(entry, QStringLiteral("MimeType"), types);
    if (!WriteHandler(handler)) return;

    auto mimeApps = ReadKeyFile(places_.MimeApps());
    if (!mimeApps) return;
    if (registerType)
        RegisterDefault(*mimeApps, mimeType, handlerId);
    else
        UnregisterDefault(*mimeApps, mimeType, handlerId);
    bool changed = false;
    if (!WriteKeyFile(places_.MimeApps(), *mimeApps, &changed)) return;
    // The desktop's cache of which launcher opens what.
    if (changed)
        RunInBackground(QStringLiteral("update-desktop-database"), {places_.Applications()});
}

bool TFileTypes::IsTypeAssociated(const QString& extension) const {
    const QString mimeType = MimeTypeForExtension(extension);
    if (!Handler()
             .List(QStringLiteral("Desktop Entry"), QStringLiteral("MimeType"))
             .contains(mimeType))
        return false;
    const auto mimeApps = ReadKeyFile(places_.MimeApps());
    return mimeApps &&
           mimeApps->Value(Group(kDefaultsGroup), mimeType) == QString::fromLatin1(kHandlerId);
}

QString TFileTypes::InstalledLauncher() const {
    const QString program = QFileInfo(programPath_).canonicalFilePath();
    if (program.isEmpty()) return {};
    const QString entry = QStringLiteral("Desktop Entry");
    for (const QString& dir : places_.dataDirs) {
        const QString path =
            dir + QStringLiteral("/applications/") + QString::fromLatin1(kInstalledLauncherId);
        const auto text = ReadOutsideFile(path, kMaxDesktopFile);
        if (!text) continue;
        const TKeyFile launcher = TKeyFile::Parse(*text);
        // The first launcher of that name hides the later ones, as menus
        // see it.
        if (!launcher.List(entry, QStringLiteral("MimeType"))
                 .contains(QString::fromLatin1(kGameMimeType)))
            return {};
        const QStringList words =
            QProcess::splitCommand(launcher.Value(entry, QStringLiteral("Exec")));
        if (words.isEmpty()) return {};
        const QString runs = QDir::isAbsolutePath(words.first())
                                 ? words.first()
                                 : QStandardPaths::findExecutable(words.first());
        return !runs.isEmpty() && QFileInfo(runs).canonicalFilePath() == program ? path : QString();
    }
    return {};
}

void TFileTypes::RegisterGameType() const {
    if (!InstalledLauncher().isEmpty()) {
        // The package's launcher and MIME type serve the saved games; only
        // the default is the user's to set.
        auto mimeApps = ReadKeyFile(places_.MimeApps());
        if (!mimeApps) return;
        const QString type = QString::fromLatin1(kGameMimeType);
        RegisterDefault(*mimeApps, type, QString::fromLatin1(kInstalledLauncherId));
        // The program's own handler of an earlier start is no previous owner.
        if (mimeApps->Value(Group(kBackupGroup), type) == QString::fromLatin1(kHandlerId))
            mimeApps->RemoveKey(Group(kBackupGroup), type);
        WriteKeyFile(places_.MimeApps(), *mimeApps);
        return;
    }
    const QString package = places_.MimePackages() + QStringLiteral("/kvo-dorvane.xml");
    const QByteArray text = MimePackageText();
    const auto old = ReadOutsideFile(package, kMaxDesktopFile);
    if ((!old || *old != text) && WriteOwnFile(package, text))
        RunInBackground(QStringLiteral("update-mime-database"), {places_.MimeRoot()});
    AssociateType(true, QStringLiteral("dvn"));
}

} // namespace dorvane
