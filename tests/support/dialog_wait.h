// Acting on a modal dialog that a command is about to open: a poll on the
// event loop finds it and runs the test's steps on it; when no such dialog
// has shown after the time allowed, whatever is modal is closed and the test
// fails.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <functional>

namespace dorvane::test {

template <class T> void WhenDialogShows(std::function<void(T&)> act, int timeoutMs = 10000) {
    auto* poll = new QTimer;
    auto* deadline = new QTimer;
    deadline->setSingleShot(true);
    QObject::connect(poll, &QTimer::timeout, [poll, deadline, act] {
        if (auto* form = dynamic_cast<T*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            deadline->deleteLater();
            act(*form);
        }
    });
    QObject::connect(deadline, &QTimer::timeout, [poll, deadline] {
        poll->deleteLater();
        deadline->deleteLater();
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            modal->done(-1);
        QFAIL("the dialog never showed");
    });
    poll->start(20);
    deadline->start(timeoutMs);
}

} // namespace dorvane::test
