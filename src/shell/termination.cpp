#include "shell/termination.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace dorvane {

namespace {

int g_pipe[2] = {-1, -1}; // written by the signal handler, read by the UI thread

extern "C" void OnTerminationSignal(int) {
    const char byte = 1;
    // write() is async-signal-safe; a full pipe already holds a request.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
}

} // namespace

void TTerminationSignals::Install() {
    if (g_pipe[0] >= 0) return;
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

TTerminationSignals::TTerminationSignals(std::function<void()> close) : close_(std::move(close)) {
    Install();
    if (g_pipe[0] < 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] {
        char bytes[16];
        bool asked = false;
        while (::read(g_pipe[0], bytes, sizeof bytes) > 0)
            asked = true;
        if (asked && close_) close_();
    });
}

TTerminationSignals::~TTerminationSignals() = default;

} // namespace dorvane
