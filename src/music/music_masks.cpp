#include "music/music_masks.h"

namespace dorvane {

namespace {

qsizetype NameStart(const QString& path) {
    return path.lastIndexOf(QLatin1Char('/')) + 1;
}

qsizetype ExtensionStart(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot >= NameStart(path) ? dot : -1;
}

} // namespace

QString ExtensionOf(const QString& path) {
    const qsizetype dot = ExtensionStart(path);
    return dot < 0 ? QString() : path.mid(dot);
}

QString NameWithoutExtension(const QString& path) {
    const qsizetype start = NameStart(path);
    const qsizetype dot = ExtensionStart(path);
    return path.mid(start, (dot < 0 ? path.size() : dot) - start);
}

QString NormalizeMasks(const QString& masks) {
    QString out = masks.toLower();
    if (!out.endsWith(QLatin1Char(';'))) out += QLatin1Char(';');
    if (!out.startsWith(QLatin1Char('*'))) out.prepend(QLatin1Char('*'));
    return out;
}

bool MatchesMasks(const QString& path, const QString& normalizedMasks) {
    QString key = QLatin1Char('*') + ExtensionOf(path).toLower() + QLatin1Char(';');
    return normalizedMasks.contains(key);
}

bool IsAudioFile(const QString& path) {
    return MatchesMasks(path, QLatin1String(kAudioMasks));
}

bool IsPlaylistFile(const QString& path) {
    return MatchesMasks(path, QLatin1String(kPlaylistMasks));
}

} // namespace dorvane
