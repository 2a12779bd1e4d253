// SIGTERM, SIGINT and SIGHUP - a logout, `kill`, Ctrl+C in a terminal - close
// the program the ordinary way, so that it writes its settings, instead of
// ending it on the spot. The signal handler only writes a byte into a pipe;
// the UI thread reads it from its event loop and calls the program's close.
#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace dorvane {

class TTerminationSignals {
public:
    // Installs the handlers; call it first of all in main, so that a signal
    // that comes early waits in the pipe instead of killing the program.
    static void Install();

    // From now on, once the event loop runs, a signal calls close on the UI
    // thread (once per signal).
    explicit TTerminationSignals(std::function<void()> close);
    ~TTerminationSignals();
    TTerminationSignals(const TTerminationSignals&) = delete;
    TTerminationSignals& operator=(const TTerminationSignals&) = delete;

private:
    std::function<void()> close_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace dorvane
