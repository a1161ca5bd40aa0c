// The end of the desktop session on Linux: the session manager's request to save, and
// the signals a logout, a shutdown or the terminal sends (SIGTERM, SIGHUP, SIGINT).
// A signal handler may do next to nothing safely, so it only writes a byte into a pipe;
// the message loop reads it and runs the program's own ending there.

#include "platform/posix/PosixPlatform.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif

#include <cerrno>
#include <csignal>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace kwiklet {
namespace {

constexpr int kStopSignals[] = {SIGTERM, SIGHUP, SIGINT};

int signalPipe[2] = {-1, -1};

void onStopSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    // A full pipe already holds a request to stop: nothing is lost by dropping this one.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

// Lives as long as the application; one for the process.
class SessionWatch : public QObject {
public:
    SessionWatch() : QObject(QCoreApplication::instance()) {
        notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] { stop(); });
#if QT_CONFIG(sessionmanager)
        connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) {
            if (save) {
                save();
            }
        });
#endif
    }

    std::function<void()> save;
    std::function<void()> end;

private:
    void stop() {
        notifier_->setEnabled(false);
        char bytes[64];
        while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
        }
        if (end) {
            end();
        }
    }

    QSocketNotifier* notifier_;
};

SessionWatch* watch = nullptr;

}  // namespace

void PosixPlatform::watchSessionEnd(std::function<void()> save, std::function<void()> end) {
    if (watch == nullptr) {
        if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
            return;  // no pipe: the signals keep ending the process as they always do
        }
        watch = new SessionWatch;
        QObject::connect(watch, &QObject::destroyed, [] { watch = nullptr; });
        struct sigaction action {};
        action.sa_handler = onStopSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int signal : kStopSignals) {
            ::sigaction(signal, &action, nullptr);
        }
    }
    watch->save = std::move(save);
    // However the program's ending goes, the process ends once it is through, by the
    // platform installed then: the watch outlives this platform object, and a platform
    // that passes its work on to this one decides for itself how the process ends.
    watch->end = [end = std::move(end)] {
        if (end) {
            end();
        }
        platform().endProcess();
    };
}

}  // namespace kwiklet
