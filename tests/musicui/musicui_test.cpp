// The wait window of a long search and the save dialog's filters.
#include "musicui/music_dialogs.h"
#include "musicui/wait_window.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

using namespace dorvane;

class MusicUiTest : public QObject {
    Q_OBJECT

private slots:
    void waitTexts() {
        QCOMPARE(WaitText(TWaitOperation::FileSearch, true),
                 QStringLiteral("Подождите, поиск файлов выполняется. Esc - отмена."));
        QCOMPARE(WaitText(TWaitOperation::SetAttributes, false),
                 QStringLiteral("Подождите, установка атрибутов выполняется."));
        QCOMPARE(WaitText(TWaitOperation::FolderSize, false),
                 QStringLiteral("Подождите, определение размера выполняется."));
        QCOMPARE(WaitText(TWaitOperation::Other, true),
                 QStringLiteral("Подождите, операция выполняется. Esc - отмена."));
    }

    void windowComesUpForALongSearchAndEscCancels() {
        int cancels = 0;
        TSearchWaitWindow wait(
            nullptr, [&] { ++cancels; }, 0);
        wait.Started();
        QTRY_VERIFY(wait.Form() && wait.Form()->isVisible());
        QCOMPARE(wait.Form()->Text(),
                 QStringLiteral("Подождите, поиск файлов выполняется. Esc - отмена."));
        QTest::keyClick(wait.Form(), Qt::Key_Escape);
        QCOMPARE(cancels, 1);
        wait.Finished();
        QTRY_VERIFY(!wait.Form());
        QCOMPARE(cancels, 1);
    }

    void closingTheWindowCancelsToo() {
        int cancels = 0;
        TSearchWaitWindow wait(
            nullptr, [&] { ++cancels; }, 0);
        wait.Started();
        QTRY_VERIFY(wait.Form());
        wait.Form()->close();
        QCOMPARE(cancels, 1);
        QTRY_VERIFY(!wait.Form());
    }

    void aShortSearchShowsNoWindow() {
        TSearchWaitWindow wait(
            nullptr, [] {}, 0);
        wait.Started();
        wait.Finished();
        QTest::qWait(20);
        QVERIFY(!wait.Form());
    }

    void saveDialogFollowsTheFilter() {
        QTemporaryDir dir;
        QFileDialog dialog;
        PrepareSaveDialog(dialog, {dir.path() + QStringLiteral("/Rock.m3u"), TPlaylistFormat::M3u});
        dialog.show();
        QCOMPARE(dialog.nameFilters(), SaveFilters());
        QCOMPARE(dialog.selectedNameFilter(), QStringLiteral("Список M3U (*.m3u)"));
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QVERIFY(name && types);
        QCOMPARE(name->text(), QStringLiteral("Rock.m3u"));
        QCOMPARE(QDir(dialog.directory()).absolutePath(), QDir(dir.path()).absolutePath());
        types->setCurrentIndex(1);
        emit types->activated(1);
        QCOMPARE(name->text(), QStringLiteral("Rock.pls"));
        QCOMPARE(SelectedFormat(dialog), TPlaylistFormat::Pls);
        types->setCurrentIndex(3);
        emit types->activated(3);
        QCOMPARE(name->text(), QStringLiteral("Rock.lst"));
    }

    void saveDialogStartsWithTheProposedFormat() {
        QFileDialog dialog;
        PrepareSaveDialog(dialog, {QStringLiteral("Безымянный.lsf"), TPlaylistFormat::Lsf});
        QCOMPARE(SelectedFormat(dialog), TPlaylistFormat::Lsf);
    }
};

QTEST_MAIN(MusicUiTest)
#include "musicui_test.moc"
