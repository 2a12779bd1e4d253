// The small window that says a long operation runs and lets Esc cancel it.
// It is not modal and runs no event loop: the operation runs on a worker
// thread, and the window only comes up when it is still running a second
// after it started.
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

class QLabel;

namespace dorvane {

class TMusicLoader;

enum class TWaitOperation { FileSearch = 1, SetAttributes = 2, FolderSize = 3, Other = 0 };

// "Подождите, поиск файлов выполняется. Esc - отмена."
QString WaitText(TWaitOperation operation, bool cancellable);

class TWaitForm : public QWidget {
    Q_OBJECT

public:
    TWaitForm(TWaitOperation operation, bool cancellable, QWidget* owner);
    QString Text() const;
    // Closes without counting as a cancel; the window that was in front
    // before comes back there.
    void Finish();

signals:
    void Cancelled();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLabel* label_;
    bool cancellable_;
    bool finishing_ = false;
    QPointer<QWidget> before_;
};

// Shows the wait window for a search that runs longer than delayMs; Esc (or
// closing it) calls cancel. Started and Finished are the search's.
class TSearchWaitWindow : public QObject {
    Q_OBJECT

public:
    TSearchWaitWindow(QWidget* owner, std::function<void()> cancel, int delayMs = 1000);
    ~TSearchWaitWindow() override;

    void Started();
    void Finished();
    TWaitForm* Form() const { return form_; }

private:
    void ShowForm();

    QPointer<QWidget> owner_;
    std::function<void()> cancel_;
    QTimer delay_;
    bool running_ = false;
    QPointer<TWaitForm> form_;
};

// The wait window of a loader's searches, owned by the loader.
TSearchWaitWindow* AttachWaitWindow(TMusicLoader& loader, QWidget* owner);

} // namespace dorvane
