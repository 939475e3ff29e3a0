// POSIX: the signal handler only writes a byte into a pipe; a socket notifier
// on the other end makes the call from the event loop (a signal handler may
// not call into Qt).
#include "platform/TerminationRequests.h"

#include "platform/Log.h"

#include <QObject>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int requestPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char request = 1;
    [[maybe_unused]] const ssize_t written = ::write(requestPipe[1], &request, 1);
}

void DrainRequests()
{
    char buffer[64];
    while (::read(requestPipe[0], buffer, sizeof buffer) > 0) {
    }
}

} // namespace

void WatchTerminationRequests(QObject *context, std::function<void()> onRequest)
{
    if (requestPipe[0] >= 0)
        return;
    if (::pipe2(requestPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qCWarning(lcPlatform) << "termination requests: no pipe, the signals keep their default action";
        return;
    }
    auto *notifier = new QSocketNotifier(requestPipe[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [onRequest = std::move(onRequest)] {
        DrainRequests();
        onRequest();
    });
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}
