// The program as the opener of file types, in a home of the test's own: the
// previous default kept and given back, the backup never overwritten by the
// program's own entry, a type another program took over shown as not the
// program's, and outside files that are not regular files left alone.
#include "desktop_home.h"

#include "desktop/desktop_entry.h"
#include "desktop/file_types.h"
#include "desktop/own_files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace dorvane::test {

namespace {

const QString kDefaults = QString::fromLatin1(kDefaultsGroup);
const QString kBackup = QString::fromLatin1(kBackupGroup);
const QString kHandler = QString::fromLatin1(kHandlerId);

struct TTypesHome {
    TDesktopHome home;
    TFileTypes types{home.Places(), QStringLiteral("/opt/dorvane/bin/dorvane")};

    QString MimeApps() const { return home.Places().MimeApps(); }
    TKeyFile Read() const { return TKeyFile::Parse(ReadBytes(MimeApps())); }
};

TEST(FileTypes, ExtensionsOfTheMasks) {
    EXPECT_EQ(ExtensionsOfMasks(QStringLiteral("*.mp3;*.M3U;.pls;;*;wav;")),
              (QStringList{QStringLiteral("mp3"), QStringLiteral("m3u"), QStringLiteral("pls"),
                           QStringLiteral("wav")}));
    EXPECT_EQ(ExtensionsOfMasks(QStringLiteral("*.ac3;*.ape;*.flac;*.m4a;*.mid;*.midi;*.mp3;*.rmi;"
                                               "*.wav;*.wma;*.m3u;*.m3u8;*.pls;*.wpl;*.asx;"))
                  .size(),
              15);
}

TEST(FileTypes, RegisteringKeepsThePreviousDefaultAndUnregisteringGivesItBack) {
    TTypesHome t;
    const QString mime = MimeTypeForExtension(QStringLiteral("mp3"));
    ASSERT_TRUE(WriteBytes(t.MimeApps(), "# the user's own note\n"
                                         "[Default Applications]\n" +
                                             mime.toUtf8() +
                                             "=vlc.desktop\n"
                                             "text/plain=gedit.desktop\n"
                                             "\n"
                                             "[Added Associations]\n"
                                             "image/png=gimp.desktop;\n"));
    t.types.AssociateType(true, QStringLiteral("MP3"));
    TKeyFile file = t.Read();
    EXPECT_EQ(file.Value(kDefaults, mime), kHandler);
    EXPECT_EQ(file.Value(kBackup, mime), QStringLiteral("vlc.desktop"));
    EXPECT_TRUE(t.types.IsTypeAssociated(QStringLiteral("mp3")));
    // Every other program's line stays.
    EXPECT_EQ(file.Value(kDefaults, QStringLiteral("text/plain")), QStringLiteral("gedit.desktop"));
    EXPECT_EQ(file.Value(QString::fromLatin1(kAddedGroup), QStringLiteral("image/png")),
              QStringLiteral("gimp.desktop;"));
    EXPECT_TRUE(ReadBytes(t.MimeApps()).startsWith("# the user's own note\n"));

    // Registering again does not put the program's own entry into the backup.
    t.types.AssociateType(true, QStringLiteral("mp3"));
    EXPECT_EQ(t.Read().Value(kBackup, mime), QStringLiteral("vlc.desktop"));

    t.types.AssociateType(false, QStringLiteral("mp3"));
    file = t.Read();
    EXPECT_EQ(file.Value(kDefaults, mime), QStringLiteral("vlc.desktop"));
    EXPECT_FALSE(file.Contains(kBackup, mime));
    EXPECT_FALSE(t.types.IsTypeAssociated(QStringLiteral("mp3")));
    EXPECT_FALSE(TKeyFile::Parse(ReadBytes(t.types.HandlerPath()))
                     .List(QStringLiteral("Desktop Entry"), QStringLiteral("MimeType"))
                     .contains(mime));
}

TEST(FileTypes, ATypeWithoutPreviousOwnerIsLeftWithoutDefault) {
    TTypesHome t;
    const QString mime = MimeTypeForExtension(QStringLiteral("flac"));
    t.types.AssociateType(true, QStringLiteral("flac"));
    EXPECT_TRUE(t.types.IsTypeAssociated(QStringLiteral("flac")));
    EXPECT_FALSE(t.Read().Contains(kBackup, mime));
    t.types.AssociateType(false, QStringLiteral("flac"));
    EXPECT_FALSE(t.Read().Contains(kDefaults, mime));
    EXPECT_FALSE(t.types.IsTypeAssociated(QStringLiteral("flac")));
}

TEST(FileTypes, ATypeTakenOverByAnotherProgramIsNotTheProgramsAndKeepsItsNewOwner) {
    TTypesHome t;
    const QString mime = MimeTypeForExtension(QStringLiteral("wav"));
    t.types.AssociateType(true, QStringLiteral("wav"));
    TKeyFile file = t.Read();
    file.SetValue(kDefaults, mime, QStringLiteral("audacious.desktop"));
    ASSERT_TRUE(WriteBytes(t.MimeApps(), file.Text()));
    EXPECT_FALSE(t.types.IsTypeAssociated(QStringLiteral("wav")));
    // Unregistering then leaves the new owner alone.
    t.types.AssociateType(false, QStringLiteral("wav"));
    EXPECT_EQ(t.Read().Value(kDefaults, mime), QStringLiteral("audacious.desktop"));
}

TEST(FileTypes, TheSavedGameTypeIsDeclaredAndRegisteredAtEveryStart) {
    TTypesHome t;
    t.types.RegisterGameType();
    const QString package = t.home.Places().MimePackages() + QStringLiteral("/kvo-dorvane.xml");
    EXPECT_EQ(ReadBytes(package), MimePackageText());
    EXPECT_EQ(ReadBytes(QStringLiteral(DORVANE_MIME_PACKAGE)), MimePackageText());
    EXPECT_TRUE(t.types.IsTypeAssociated(QStringLiteral("dvn")));
    EXPECT_EQ(MimeTypeForExtension(QStringLiteral("DVN")),
              QStringLiteral("application/x-dorvane-game"));
    const TKeyFile handler = TKeyFile::Parse(ReadBytes(t.types.HandlerPath()));
    EXPECT_EQ(handler.Value(QStringLiteral("Desktop Entry"), QStringLiteral("Exec")),
              QStringLiteral("\"/opt/dorvane/bin/dorvane\" %F"));

    // Given to another program, it comes back at the next start, and the
    // other program is its backup.
    TKeyFile file = t.Read();
    file.SetValue(kDefaults, QStringLiteral("application/x-dorvane-game"),
                  QStringLiteral("other.desktop"));
    ASSERT_TRUE(WriteBytes(t.MimeApps(), file.Text()));
    t.types.RegisterGameType();
    EXPECT_TRUE(t.types.IsTypeAssociated(QStringLiteral("dvn")));
    EXPECT_EQ(t.Read().Value(kBackup, QStringLiteral("application/x-dorvane-game")),
              QStringLiteral("other.desktop"));
}

TEST(FileTypes, AnInstalledLauncherOfTheSameProgramIsUsedInsteadOfWritingOneAtStart) {
    struct TCase {
        const char* what;
        QByteArray exec; // "%P" stands for the program's path, "%O" for another program's
        QByteArray mimeTypes;
        bool installedServes;
    };
    const TCase cases[] = {
        {"the same program by its path", "\"%P\" %F", "application/x-dorvane-game;", true},
        {"the same program found on PATH", "dorvane %F", "text/plain;application/x-dorvane-game;",
         true},
        {"the same program through a link", "%L %F", "application/x-dorvane-game;", true},
        {"another copy of the program", "%O %F", "application/x-dorvane-game;", false},
        {"a launcher that does not open saved games", "dorvane %F", "", false},
        {"a launcher that runs nothing", "", "application/x-dorvane-game;", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        TDesktopHome home;
        const QString program = home.Path(QStringLiteral("system/bin/dorvane"));
        const QString other = home.Path(QStringLiteral("build/src/app/dorvane"));
        const QString link = home.Path(QStringLiteral("dorvane-link"));
        ASSERT_TRUE(WriteBytes(program, "#!/bin/sh\n"));
        ASSERT_TRUE(WriteBytes(other, "#!/bin/sh\n"));
        ASSERT_TRUE(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner));
        ASSERT_TRUE(QFile::link(program, link));
        const TEnvGuard path("PATH", home.Path(QStringLiteral("system/bin")).toStdString());
        QByteArray exec = c.exec;
        exec.replace("%P", program.toUtf8())
            .replace("%O", other.toUtf8())
            .replace("%L", link.toUtf8());
        const QString installed =
            home.Path(QStringLiteral("system/share/applications/dorvane.desktop"));
        ASSERT_TRUE(WriteBytes(installed, "[Desktop Entry]\nType=Application\nName=Dorvane\nExec=" +
                                              exec + "\nMimeType=" + c.mimeTypes + "\n"));
        // The user had chosen another program before.
        const QString mimeApps = home.Places().MimeApps();
        ASSERT_TRUE(WriteBytes(mimeApps, "[Default Applications]\n"
                                         "application/x-dorvane-game=other.desktop\n"));

        const TFileTypes types{home.Places(), program};
        types.RegisterGameType();
        const TKeyFile list = TKeyFile::Parse(ReadBytes(mimeApps));
        const QString game = QString::fromLatin1(kGameMimeType);
        EXPECT_EQ(list.Value(kBackup, game), QStringLiteral("other.desktop"));
        const QString ownPackage =
            home.Places().MimePackages() + QStringLiteral("/kvo-dorvane.xml");
        if (c.installedServes) {
            EXPECT_EQ(types.InstalledLauncher(), installed);
            EXPECT_EQ(list.Value(kDefaults, game), QStringLiteral("dorvane.desktop"));
            EXPECT_FALSE(EntryExists(types.HandlerPath()));
            EXPECT_FALSE(EntryExists(ownPackage));
        } else {
            EXPECT_TRUE(types.InstalledLauncher().isEmpty());
            EXPECT_EQ(list.Value(kDefaults, game), kHandler);
            EXPECT_TRUE(types.IsTypeAssociated(QStringLiteral("dvn")));
            EXPECT_EQ(ReadBytes(ownPackage), MimePackageText());
        }
    }
}

TEST(FileTypes, TheProgramsOwnHandlerOfAnEarlierStartIsNoPreviousOwner) {
    TDesktopHome home;
    const QString program = home.Path(QStringLiteral("system/bin/dorvane"));
    ASSERT_TRUE(WriteBytes(program, "#!/bin/sh\n"));
    // Started from its build tree first, the program registered its own handler.
    TFileTypes{home.Places(), program}.AssociateType(true, QStringLiteral("dvn"));
    ASSERT_TRUE(WriteBytes(home.Path(QStringLiteral("system/share/applications/dorvane.desktop")),
                           "[Desktop Entry]\nExec=" + program.toUtf8() +
                               " %F\nMimeType=application/x-dorvane-game;\n"));
    TFileTypes{home.Places(), program}.RegisterGameType();
    const TKeyFile list = TKeyFile::Parse(ReadBytes(home.Places().MimeApps()));
    EXPECT_EQ(list.Value(kDefaults, QString::fromLatin1(kGameMimeType)),
              QStringLiteral("dorvane.desktop"));
    EXPECT_FALSE(list.Contains(kBackup, QString::fromLatin1(kGameMimeType)));
}

TEST(FileTypes, AMimeAppsListThatIsALinkOrAFifoIsLeftAlone) {
    TTypesHome t;
    const QString target = t.home.Path(QStringLiteral("elsewhere.list"));
    ASSERT_TRUE(WriteBytes(target, "[Default Applications]\n"));
    QDir().mkpath(QFileInfo(t.MimeApps()).absolutePath());
    ASSERT_TRUE(QFile::link(target, t.MimeApps()));
    t.types.AssociateType(true, QStringLiteral("mp3"));
    EXPECT_EQ(ReadBytes(target), QByteArray("[Default Applications]\n"));
    EXPECT_TRUE(QFileInfo(t.MimeApps()).isSymLink());
    EXPECT_FALSE(t.types.IsTypeAssociated(QStringLiteral("mp3")));

    ASSERT_TRUE(QFile::remove(t.MimeApps()));
    ASSERT_EQ(::mkfifo(t.MimeApps().toLocal8Bit().constData(), 0600), 0);
    // Neither blocks on the FIFO.
    t.types.AssociateType(true, QStringLiteral("mp3"));
    EXPECT_FALSE(t.types.IsTypeAssociated(QStringLiteral("mp3")));
}

ino_t Inode(const QString& path) {
    struct stat info {};
    return ::stat(path.toLocal8Bit().constData(), &info) == 0 ? info.st_ino : 0;
}

// Other programs' lines keep their bytes, a byte that is not UTF-8
// included; a list that needs no change is not written again; and a file
// that is not text at all is left as it is.
TEST(FileTypes, OtherLinesKeepTheirBytesAndAnUnchangedListIsNotWritten) {
    TTypesHome t;
    const QByteArray other = "[Default Applications]\ntext/plain=caf\xe9-editor.desktop\n"
                             "# r\xe9sum\xe9\r\n[Added Associations]\nimage/png=\xff\xfe;";
    ASSERT_TRUE(WriteBytes(t.MimeApps(), other));
    t.types.RegisterGameType();
    const QByteArray once = ReadBytes(t.MimeApps());
    EXPECT_TRUE(once.startsWith("[Default Applications]\ntext/plain=caf\xe9-editor.desktop\n"))
        << once.toPercentEncoding().constData();
    EXPECT_TRUE(once.contains("\n# r\xe9sum\xe9\r\n[Added Associations]\nimage/png=\xff\xfe;\n"))
        << once.toPercentEncoding().constData();
    EXPECT_TRUE(t.types.IsTypeAssociated(QStringLiteral("dvn")));
    const ino_t written = Inode(t.MimeApps());
    t.types.RegisterGameType(); // the next start
    EXPECT_EQ(ReadBytes(t.MimeApps()), once);
    EXPECT_EQ(Inode(t.MimeApps()), written) << "written again without a change";

    QByteArray binary(500 * 1024, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((unsigned(i) * 7919u) >> 3);
    ASSERT_TRUE(WriteBytes(t.MimeApps(), binary));
    const ino_t binaryFile = Inode(t.MimeApps());
    t.types.RegisterGameType();
    EXPECT_EQ(ReadBytes(t.MimeApps()), binary);
    EXPECT_EQ(Inode(t.MimeApps()), binaryFile);
    EXPECT_FALSE(t.types.IsTypeAssociated(QStringLiteral("dvn")));
}

TEST(FileTypes, HostileAndTruncatedListsNeverLoseOtherLines) {
    const QByteArray cases[] = {
        "[Default Applications",                       // a header cut short
        "[Default Applications]\naudio/mpeg=vlc.desk", // a value cut short
        "=\n==\n[]\n[\n]\nkey with blanks=1\n\xff\xfe=\x80\n",
        "[Default Applications]\r\naudio/mpeg=vlc.desktop\r\n",
        QByteArray(1000, '['),
    };
    for (const QByteArray& text : cases) {
        TKeyFile file = TKeyFile::Parse(text);
        RegisterDefault(file, QStringLiteral("audio/mpeg"), kHandler);
        EXPECT_EQ(file.Value(kDefaults, QStringLiteral("audio/mpeg")), kHandler);
        UnregisterDefault(file, QStringLiteral("audio/mpeg"), kHandler);
        EXPECT_NE(file.Value(kDefaults, QStringLiteral("audio/mpeg")), kHandler);
        // What the program does not touch is still there, line for line.
        const TKeyFile reread = TKeyFile::Parse(file.Text());
        EXPECT_EQ(reread.Text(), file.Text());
    }
    // A list read and written untouched is the same bytes.
    const QByteArray plain = "# note\n[A]\nk=v\n\n[B]\r\nx = y \n";
    EXPECT_EQ(TKeyFile::Parse(plain).Text(), plain);
}

} // namespace

} // namespace dorvane::test
