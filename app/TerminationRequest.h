// A request from outside to end the program (SIGTERM at the end of a session, SIGINT from a
// terminal, SIGHUP when the terminal goes away), turned into a call on the event loop, where the
// window can keep the user's settings before the program ends. A signal handler itself may do
// next to nothing, so it writes one byte to a pipe that the event loop watches.
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

class TerminationRequest : public QObject {
public:
    // `onRequest` runs on the event loop, once, at the first request.
    explicit TerminationRequest(std::function<void()> onRequest, QObject* parent = nullptr);
    ~TerminationRequest() override;

private:
    static void dieAtTheNextRequest();

    std::function<void()> onRequest_;
    QSocketNotifier* notifier_ = nullptr;
    bool handled_ = false;
};
