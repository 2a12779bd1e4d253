// The tag query window over a playlist of real files: its controls, a query
// from start to end, cancelling it with its button and closing it while it
// runs. Offscreen.
#include "musicui/queryidform.h"

#include "support/gated_query_reader.h"
#include "support/tag_builder.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace dorvane;
using namespace dorvane::test;

namespace {

QByteArray Data(const Bytes& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

// Artist, album, year, track and title of song k; 10 s long.
Bytes Song(int k) {
    const std::string n = std::to_string(k);
    return Cat({Id3Tag(Cat({TextFrame("TPE1", "Artist" + n), TextFrame("TALB", "Album" + n),
                            TextFrame("TYER", "2000"), TextFrame("TRCK", n),
                            TextFrame("TIT2", "Song" + n)})),
                Mp3Frames(384)});
}

} // namespace

class QueryIDFormTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    TPlaylist playlist_;

    // count songs, then a missing one and a text file under a song's name.
    void Fill(int count) {
        playlist_.Clear();
        for (int k = 0; k < count; ++k) {
            const QString path = dir_.filePath(QStringLiteral("%1.mp3").arg(k));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(Data(Song(k)));
            playlist_.Append(FList{0, 0, QStringLiteral("old"), path, {}, QStringLiteral(".mp3")});
        }
        playlist_.Append(FList{0,
                               0,
                               QStringLiteral("old"),
                               dir_.filePath(QStringLiteral("gone.mp3")),
                               {},
                               QStringLiteral(".mp3")});
        const QString text = dir_.filePath(QStringLiteral("text.wma"));
        QFile file(text);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("not a header at all");
        playlist_.Append(FList{0, 0, QStringLiteral("old"), text, {}, QStringLiteral(".wma")});
    }

    QStringList Titles() const {
        QStringList titles;
        for (const FList& e : playlist_.Entries())
            titles << e.S1;
        return titles;
    }

private slots:
    void controls() {
        Fill(2);
        TQueryIDForm form(playlist_, nullptr);
        QCOMPARE(form.windowTitle(), QStringLiteral("Запрос заголовков из MP3 и WMA файлов"));
        QCOMPARE(form.Group()->title(), QStringLiteral("Формат заголовков"));
        const QString texts[] = {"Имя исполнителя", "Год выхода альбома", "Название альбома",
                                 "Номер записи", "Название записи"};
        for (int i = 0; i < TQueryIDForm::FieldCount; ++i) {
            QCheckBox* box = form.Box(TQueryIDForm::TField(i));
            QCOMPARE(box->text(), texts[i]);
            const bool always = i == TQueryIDForm::Artist || i == TQueryIDForm::Title;
            QCOMPARE(box->isChecked(), always);
            QCOMPARE(box->isEnabled(), !always);
        }
        QCOMPARE(form.QueryButton()->text(), QStringLiteral("Запросить"));
        QCOMPARE(form.CloseButton()->text(), QStringLiteral("Закрыть"));
        QCOMPARE(form.Progress()->maximum(), 4);
        QCOMPARE(form.Progress()->value(), 0);
        QVERIFY(form.minimumSize() == form.maximumSize());
    }

    void queryRetitlesWithTheCheckedFields() {
        Fill(3);
        QPointer<TQueryIDForm> form = TQueryIDForm::Open(playlist_, nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QVERIFY(form->isModal());
        QSignalSpy started(form, &TQueryIDForm::QueryStarted);
        QSignalSpy finished(form, &TQueryIDForm::QueryFinished);
        QSignalSpy changed(&playlist_, &TPlaylist::EntryChanged);
        form->Box(TQueryIDForm::Album)->setChecked(true);
        form->Box(TQueryIDForm::Track)->setChecked(true);
        QTest::mouseClick(form->QueryButton(), Qt::LeftButton);
        QCOMPARE(started.count(), 1);
        QVERIFY(form->Running());
        QVERIFY(!form->Group()->isEnabled());
        QVERIFY(!form->QueryButton()->isEnabled());
        QCOMPARE(form->CloseButton()->text(), QStringLiteral("Отменить"));
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(started.count(), 1);
        QCOMPARE(Titles(),
                 QStringList({"Artist0 - Album0 - 0 - Song0", "Artist1 - Album1 - 1 - Song1",
                              "Artist2 - Album2 - 2 - Song2", "old", "old"}));
        QCOMPARE(playlist_.Entry(0).S3, QStringLiteral("10"));
        QCOMPARE(changed.count(), 3);
        QCOMPARE(form->Progress()->value(), form->Progress()->maximum());
        QVERIFY(form->Group()->isEnabled());
        QVERIFY(form->QueryButton()->isEnabled());
        QCOMPARE(form->CloseButton()->text(), QStringLiteral("Закрыть"));
        QVERIFY(form->isVisible());
        // "Закрыть" with no query running closes, and the window goes.
        QTest::mouseClick(form->CloseButton(), Qt::LeftButton);
        QTRY_VERIFY(!form);
    }

    void cancelButtonStopsAndKeepsWhatWasDone() {
        Fill(5);
        TQueryIDForm form(playlist_, nullptr);
        TGatedQueryReader gate(2);
        form.Query().SetReader(gate.Reader());
        form.show();
        QSignalSpy finished(&form, &TQueryIDForm::QueryFinished);
        QTest::mouseClick(form.QueryButton(), Qt::LeftButton);
        QTRY_VERIFY(gate.Waiting() && form.Progress()->value() == 1);
        QTest::mouseClick(form.CloseButton(), Qt::LeftButton);
        QVERIFY(form.isVisible());
        gate.Open();
        QTRY_COMPARE(finished.count(), 1);
        // The button cancels; it closes only when nothing runs.
        QVERIFY(form.isVisible());
        QCOMPARE(Titles(), QStringList({"Artist0 - Song0", "Artist1 - Song1", "Artist2 - Song2",
                                        "old", "old", "old", "old"}));
        QCOMPARE(form.CloseButton()->text(), QStringLiteral("Закрыть"));
        QCOMPARE(form.Progress()->value(), form.Progress()->maximum());
    }

    void closingWhileRunningWaitsForTheLastAnswer() {
        Fill(4);
        QPointer<TQueryIDForm> form = TQueryIDForm::Open(playlist_, nullptr);
        TGatedQueryReader gate(1);
        form->Query().SetReader(gate.Reader());
        QSignalSpy finished(form, &TQueryIDForm::QueryFinished);
        QTest::mouseClick(form->QueryButton(), Qt::LeftButton);
        QTRY_VERIFY(gate.Waiting());
        form->close();
        QVERIFY(form && form->isVisible());
        gate.Open();
        QTRY_VERIFY(!form);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(Titles().mid(0, 2), QStringList({"Artist0 - Song0", "Artist1 - Song1"}));
        QCOMPARE(Titles().mid(2), QStringList(4, QStringLiteral("old")));
    }
};

QTEST_MAIN(QueryIDFormTest)
#include "queryidform_test.moc"
