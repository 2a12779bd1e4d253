// Folders of small files made by each test in a temporary folder, and the
// loader's view of the rest of the player, recorded.
#pragma once

#include "music/music_loader.h"
#include "support/wait_for.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace dorvane::test {

class TMusicFolder {
public:
    TMusicFolder() { EXPECT_TRUE(dir_.isValid()); }

    QString Path(const QString& relative = QString()) const {
        return relative.isEmpty() ? dir_.path() : dir_.path() + u'/' + relative;
    }
    // Writes relative (making its folders) and answers its full path.
    QString Write(const QString& relative, const QByteArray& bytes = "x") const {
        const QString path = Path(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
        file.write(bytes);
        return path;
    }
    QString Folder(const QString& relative) const {
        QDir().mkpath(Path(relative));
        return Path(relative);
    }
    QString Fifo(const QString& relative) const {
        const QString path = Path(relative);
        QDir().mkpath(QFileInfo(path).path());
        EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        return path;
    }
    QString Link(const QString& relative, const QString& target) const {
        const QString path = Path(relative);
        QDir().mkpath(QFileInfo(path).path());
        EXPECT_EQ(
            ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()),
            0);
        return path;
    }

private:
    QTemporaryDir dir_;
};

class TRecordingHost final : public TMusicLoaderHost {
public:
    void CloseCurrentFile() override { calls += "close;"; }
    void RecentSourcesChanged() override { calls += "history;"; }
    void PlaylistChanged() override { calls += "refresh;"; }
    void HoldNextAdvance() override { calls += "hold;"; }
    void SwitchPlaybackOn() override { calls += "play;"; }
    void ShowPlaylistWindow() override { calls += "show;"; }
    void ShowLoadMessage(const QString& text) override { messages << text; }
    std::string calls;
    QStringList messages;
};

} // namespace dorvane::test
