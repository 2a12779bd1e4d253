// The widget tests share one QApplication; each test class runs in turn.
#include <QApplication>
#include <QTest>

#include <memory>

QObject* MakeBoardTest();
QObject* MakeMainFormTest();

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failed = 0;
    for (auto make : {MakeBoardTest, MakeMainFormTest}) {
        std::unique_ptr<QObject> test(make());
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
