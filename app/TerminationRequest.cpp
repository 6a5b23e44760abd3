#include "app/TerminationRequest.h"

#include "transform/files/TemporaryFiles.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
int requestPipe[2] = {-1, -1};

extern "C" void requestTermination(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(requestPipe[1], &byte, 1);
}

}  // namespace

TerminationRequest::TerminationRequest(std::function<void()> onRequest, QObject* parent)
    : QObject(parent), onRequest_(std::move(onRequest))
{
    if (::pipe2(requestPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = new QSocketNotifier(requestPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(requestPipe[0], bytes, sizeof bytes) > 0) {}
        if (handled_) return;
        handled_ = true;
        // A second request, while this one is at work, ends the program at once.
        dieAtTheNextRequest();
        onRequest_();
    });
    struct sigaction action = {};
    action.sa_handler = requestTermination;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) sigaction(signal, &action, nullptr);
}

// A second request ends the program at once, removing the temporary files of the file run at
// work first.
void TerminationRequest::dieAtTheNextRequest() { removeTemporaryFilesOnSignals(); }

TerminationRequest::~TerminationRequest()
{
    dieAtTheNextRequest();
    ::close(requestPipe[0]);
    ::close(requestPipe[1]);
    requestPipe[0] = requestPipe[1] = -1;
}
