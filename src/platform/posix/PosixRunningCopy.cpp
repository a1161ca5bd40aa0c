// The one running copy on Linux. With a session bus, the copy owns a well-known name
// there and takes command lines as calls of its "Command" method; the bus drops the name
// when the process ends, however it ends. Without a bus, a lock file held with flock
// (released by the kernel with the process) says who runs, and a Unix socket beside it
// takes the command lines: a new owner of the lock removes whatever socket a crashed
// one left, so a stale file never blocks a start.

#include "platform/posix/PosixPlatform.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kwiklet {
namespace {

const QString kObjectPath = QStringLiteral("/");
const QString kCommandMethod = QStringLiteral("Command");
// How long a start waits for the running copy to take its command line.
constexpr int kHandOverTimeoutMs = 5000;

using Commands = std::function<void(const QStringList&)>;

// Runs the commands in the application's thread, whichever thread received them.
void deliver(const Commands& commands, const QStringList& arguments) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [commands, arguments] { commands(arguments); },
        Qt::QueuedConnection);
}

// --- Session bus ------------------------------------------------------------------------

class BusReceiver : public QDBusVirtualObject {
public:
    BusReceiver(QString interfaceName, Commands commands)
        : QDBusVirtualObject(QCoreApplication::instance()),
          interface_(std::move(interfaceName)),
          commands_(std::move(commands)) {}

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.interface() != interface_ || message.member() != kCommandMethod) {
            return false;
        }
        // The caller waits for the answer only, not for the window.
        connection.send(message.createReply());
        deliver(commands_, message.arguments().value(0).toStringList());
        return true;
    }

private:
    QString interface_;
    Commands commands_;
};

bool claimOnBus(QDBusConnection& bus, const QString& name, Commands commands) {
    auto* receiver = new BusReceiver(name, std::move(commands));
    // The object is there before the name, so that no call to the name finds it missing.
    if (!bus.registerVirtualObject(kObjectPath, receiver)) {
        delete receiver;
        return false;
    }
    const auto reply =
        bus.interface()->registerService(name, QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered) {
        return true;
    }
    bus.unregisterObject(kObjectPath);
    delete receiver;
    return false;
}

bool sendOnBus(QDBusConnection& bus, const QString& name, const QStringList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(name, kObjectPath, name, kCommandMethod);
    call.setAutoStartService(false);
    call << arguments;
    return bus.call(call, QDBus::Block, kHandOverTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

// --- Lock and socket ----------------------------------------------------------------------

// The user's runtime folder ($XDG_RUNTIME_DIR, else one Qt makes for the user alone).
QString runtimePath(const QString& name, const char* suffix) {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QLatin1Char('/') +
           name + QLatin1String(suffix);
}

bool socketAddress(const QString& name, sockaddr_un& address) {
    const QByteArray path = QFile::encodeName(runtimePath(name, ".socket"));
    if (path.size() >= static_cast<qsizetype>(sizeof address.sun_path)) {
        return false;
    }
    address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return true;
}

// Waits up to the handover time for the descriptor to become ready.
bool waitFor(int descriptor, short events) {
    pollfd watched{descriptor, events, 0};
    return ::poll(&watched, 1, kHandOverTimeoutMs) == 1;
}

// Reads the command line a start sent (arguments, each ended by a zero byte, until the
// sender shuts its side) and answers with one byte once it is taken.
void takeCommandLine(int listener, const Commands& commands) {
    const int connection = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) {
        return;
    }
    QByteArray received;
    char buffer[4096];
    // A command line is short; a sender that sends without end is cut off.
    constexpr qsizetype kLongest = 1 << 20;
    while (received.size() < kLongest && waitFor(connection, POLLIN)) {
        const ssize_t count = ::read(connection, buffer, sizeof buffer);
        if (count <= 0) {
            break;
        }
        received.append(buffer, count);
    }
    QStringList arguments;
    for (const QByteArray& argument : received.split('\0')) {
        arguments << QString::fromUtf8(argument);
    }
    arguments.removeLast();  // what follows the last argument's end
    const char taken = 1;
    [[maybe_unused]] const ssize_t answered = ::write(connection, &taken, 1);
    ::close(connection);
    deliver(commands, arguments);
}

bool claimWithLock(const QString& name, const Commands& commands) {
    const QByteArray lockPath = QFile::encodeName(runtimePath(name, ".lock"));
    // Close-on-exec throughout: a program Kwiklet opens must never keep its lock.
    const int lock = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lock < 0) {
        return false;
    }
    if (::flock(lock, LOCK_EX | LOCK_NB) != 0) {
        ::close(lock);
        return false;
    }
    sockaddr_un address{};
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listener < 0 || !socketAddress(name, address)) {
        return true;  // the running copy all the same, if one that takes no commands
    }
    ::unlink(address.sun_path);  // a crashed copy's
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener, 8) != 0) {
        ::close(listener);
        return true;
    }
    auto* notifier =
        new QSocketNotifier(listener, QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                     [listener, commands] { takeCommandLine(listener, commands); });
    return true;  // the lock and the socket stay open as long as the process runs
}

bool sendThroughSocket(const QString& name, const QStringList& arguments) {
    sockaddr_un address{};
    if (!socketAddress(name, address)) {
        return false;
    }
    const int connection = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (connection < 0) {
        return false;
    }
    QByteArray message;
    for (const QString& argument : arguments) {
        message += argument.toUtf8() + '\0';
    }
    char taken = 0;
    const bool sent =
        ::connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::write(connection, message.constData(), static_cast<std::size_t>(message.size())) ==
            message.size() &&
        ::shutdown(connection, SHUT_WR) == 0 && waitFor(connection, POLLIN) &&
        ::read(connection, &taken, 1) == 1;
    ::close(connection);
    return sent;
}

}  // namespace

bool PosixPlatform::claimRunningCopy(const QString& name, Commands commands) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() ? claimOnBus(bus, name, std::move(commands))
                             : claimWithLock(name, commands);
}

bool PosixPlatform::sendToRunningCopy(const QString& name, const QStringList& arguments) {
    // A connection of its own, closed again: a start that hands over under a core
    // application may go on to become the running copy under another application object,
    // and Qt's shared session connection would no longer deliver calls then.
    const QString connectionName = QStringLiteral("kwiklet-hand-over");
    bool sent = false;
    {
        QDBusConnection bus =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName);
        sent = bus.isConnected() ? sendOnBus(bus, name, arguments)
                                 : sendThroughSocket(name, arguments);
    }
    QDBusConnection::disconnectFromBus(connectionName);
    return sent;
}

}  // namespace kwiklet
