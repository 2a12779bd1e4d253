#include "music/music_sources.h"

#include <QLocale>

#include <algorithm>

namespace dorvane {

namespace {

bool SameSource(const QString& a, const QString& b) {
    const QLocale locale;
    return locale.toUpper(a) == locale.toUpper(b);
}

} // namespace

QStringList SplitSources(const QString& sources) {
    return sources.split(QLatin1Char(';'));
}

QString FirstSource(const QString& sources) {
    return sources.section(QLatin1Char(';'), 0, 0);
}

bool AddSource(const QString& item, QString& sources) {
    if (sources.isEmpty()) {
        sources = item;
        return true;
    }
    for (const QString& part : SplitSources(sources))
        if (SameSource(part, item)) return false;
    sources += QLatin1Char(';') + item;
    return true;
}

void AddRecentSource(const QString& sources, QStringList& recent) {
    if (sources.isEmpty()) return;
    const qsizetype at =
        std::find_if(recent.cbegin(), recent.cend(),
                     [&](const QString& entry) { return SameSource(entry, sources); }) -
        recent.cbegin();
    const bool listed = at < recent.size();
    if (!listed || at != 0) {
        if (listed) recent.removeAt(at);
        recent.prepend(sources);
    }
    while (recent.size() > kMostRecentSources)
        recent.removeLast();
}

QStringList ReadRecentSources(const SettingsAccess& store) {
    QStringList recent;
    store.RegReadList(QLatin1String(kRecentSourcesList), recent, kMostRecentSources);
    return recent;
}

void WriteRecentSources(SettingsAccess& store, const QStringList& recent) {
    store.RegWriteList(QLatin1String(kRecentSourcesList), recent, kMostRecentSources);
}

} // namespace dorvane
