#include "view/textureform.h"

#include "support/dialog_wait.h"

#include <QApplication>
#include <QFrame>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace dorvane {

class TextureFormTest : public QObject {
    Q_OBJECT

    static bool Lowered(const TTextureForm& form, int n) {
        return form.Frame(n)->frameShadow() == QFrame::Sunken;
    }

    // Runs `act` once the modal dialog is up; gives up (and fails) after 5 s.
    static void WhenDialogShows(std::function<void(TTextureForm&)> act) {
        test::WhenDialogShows<TTextureForm>(std::move(act), 5000);
    }

private slots:
    void layoutFollowsTheFixedDialog() {
        TTextureForm form;
        QCOMPARE(form.size(), QSize(508, 131));
        const int xs[] = {2, 103, 204, 305, 406};
        for (int n = 1; n <= 5; ++n) {
            QCOMPARE(form.Frame(n)->geometry(), QRect(xs[n - 1], 2, 100, 100));
            QCOMPARE(form.Frame(n)->frameShadow(), QFrame::Raised);
        }
        QCOMPARE(form.NewNumber(), 0);
        QCOMPARE(form.ApplyButton()->text(), QStringLiteral("Применить"));
        QCOMPARE(form.CloseButton()->text(), QStringLiteral("Закрыть"));
    }

    void clickMovesTheLoweredFrame() {
        TTextureForm form;
        form.SetNewNumber(3);
        QVERIFY(Lowered(form, 3));
        QTest::mouseClick(form.Frame(5), Qt::LeftButton, {}, QPoint(50, 50));
        QCOMPARE(form.NewNumber(), 5);
        QVERIFY(Lowered(form, 5));
        QVERIFY(!Lowered(form, 3));
        // Another button does not choose; choosing the same again changes nothing.
        QTest::mouseClick(form.Frame(1), Qt::RightButton, {}, QPoint(50, 50));
        form.SetNewNumber(5);
        QCOMPARE(form.NewNumber(), 5);
        for (int n = 1; n <= 5; ++n)
            QCOMPARE(Lowered(form, n), n == 5);
        form.SetNewNumber(0);
        for (int n = 1; n <= 5; ++n)
            QVERIFY(!Lowered(form, n));
    }

    void applyReportsTheChoice() {
        WhenDialogShows([](TTextureForm& form) {
            QCOMPARE(form.windowTitle(), QStringLiteral("Текстура поля"));
            QVERIFY(Lowered(form, 3));
            QTest::mouseClick(form.Frame(5), Qt::LeftButton, {}, QPoint(40, 40));
            QTest::mouseClick(form.ApplyButton(), Qt::LeftButton);
        });
        QCOMPARE(TTextureForm::Choose(nullptr, QStringLiteral("Текстура поля"), 3),
                 std::optional<int>(5));
    }

    void closeLeavesTheTextureAlone() {
        WhenDialogShows([](TTextureForm& form) {
            QCOMPARE(form.windowTitle(), QStringLiteral("Текстура фона"));
            QTest::mouseClick(form.Frame(2), Qt::LeftButton, {}, QPoint(40, 40));
            QTest::mouseClick(form.CloseButton(), Qt::LeftButton);
        });
        QVERIFY(!TTextureForm::Choose(nullptr, QStringLiteral("Текстура фона"), 4).has_value());
    }
};

} // namespace dorvane

QTEST_MAIN(dorvane::TextureFormTest)
#include "textureform_test.moc"
