#include "widgets/dialogkeys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QObject>
#include <QWidget>

namespace dorvane {

namespace {

// Key preview: the dialog's filter sees the key presses of all its controls
// because it watches the application while the dialog holds the focus.
class TAltKeyFilter final : public QObject {
public:
    explicit TAltKeyFilter(QWidget* dialog) : QObject(dialog), dialog_(dialog) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~TAltKeyFilter() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != dialog_) return false;
        int key = static_cast<QKeyEvent*>(event)->key();
        SwallowAltKey(key);
        if (key != 0) return false;
        event->accept();
        return true;
    }

private:
    QWidget* dialog_;
};

} // namespace

void SwallowAltKey(int& key) {
    if (key == Qt::Key_Alt) key = 0;
}

void InstallSwallowAltKey(QWidget* dialog) {
    new TAltKeyFilter(dialog);
}

} // namespace dorvane
