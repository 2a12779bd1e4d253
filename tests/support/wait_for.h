// Lets the event loop run until a condition holds, for tests whose answers
// come back from a worker thread through the loop.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

namespace dorvane::test {

// False on timeout.
inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 20000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

} // namespace dorvane::test
