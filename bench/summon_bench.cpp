// How fast `kwiklet --toggle` calls the running copy's window up on an X server with a
// window manager: from the start of the command to the window mapped and active (the
// window manager's _NET_ACTIVE_WINDOW naming it), median of RUNS, against starting a
// minimal Qt window in the same run; and the thin client's own run time. The same for the
// hotkey (Ctrl+Alt+Space, the default), pressed through the X server by xdotool, whose
// own start is timed too.
// Usage: summon_bench KWIKLET [RUNS]   (DISPLAY set, a window manager running)

#include "Measure.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using kwiklet::bench::millisecondsOf;

const QString kMinimalTitle = QStringLiteral("summon-bench-minimal");

// The window manager's idea of the active window, by its title.
class ActiveWindowWatch {
public:
    ActiveWindowWatch() : connection_(xcb_connect(nullptr, nullptr)) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        activeAtom_ = atom("_NET_ACTIVE_WINDOW");
        xcb_flush(connection_);
    }
    ~ActiveWindowWatch() { xcb_disconnect(connection_); }
    bool ok() const { return xcb_connection_has_error(connection_) == 0; }

    QString activeTitle() {
        auto* reply = xcb_get_property_reply(
            connection_,
            xcb_get_property(connection_, 0, root_, activeAtom_, XCB_ATOM_WINDOW, 0, 1), nullptr);
        xcb_window_t window = XCB_NONE;
        if (reply != nullptr && xcb_get_property_value_length(reply) == 4) {
            window = *static_cast<xcb_window_t*>(xcb_get_property_value(reply));
        }
        std::free(reply);
        return window == XCB_NONE ? QString() : title(window);
    }

    // Waits, up to five seconds, until the active window's title is (or is no longer)
    // the title; false on a timeout.
    bool waitFor(const QString& wanted, bool is) {
        QElapsedTimer timer;
        timer.start();
        while ((activeTitle() == wanted) != is) {
            if (timer.elapsed() > 5000) {
                return false;
            }
            // Every change of the property comes as an event; nothing else is selected.
            if (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                std::free(event);
            } else {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            }
        }
        return true;
    }

private:
    xcb_atom_t atom(const char* name) {
        auto* reply = xcb_intern_atom_reply(
            connection_,
            xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t found = reply ? reply->atom : XCB_NONE;
        std::free(reply);
        return found;
    }
    QString title(xcb_window_t window) {
        auto* reply =
            xcb_get_property_reply(connection_,
                                   xcb_get_property(connection_, 0, window, XCB_ATOM_WM_NAME,
                                                    XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                                   nullptr);
        QString text;
        if (reply != nullptr) {
            text = QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply)),
                                     xcb_get_property_value_length(reply));
        }
        std::free(reply);
        return text;
    }

    xcb_connection_t* connection_;
    xcb_window_t root_ = XCB_NONE;
    xcb_atom_t activeAtom_ = XCB_NONE;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Runs the program to its end; its run time in milliseconds.
double run(const QString& program, const QStringList& arguments) {
    QElapsedTimer timer;
    timer.start();
    QProcess::execute(program, arguments);
    return millisecondsOf(timer);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && QString::fromLocal8Bit(argv[1]) == QLatin1String("--minimal-window")) {
        QApplication application(argc, argv);
        QWidget window;
        window.setWindowTitle(kMinimalTitle);
        window.resize(300, 240);
        window.show();
        return application.exec();
    }
    QApplication application(argc, argv);
    if (argc < 2 || argc > 3 || qEnvironmentVariableIsEmpty("DISPLAY")) {
        QTextStream(stderr) << "Usage: summon_bench KWIKLET [RUNS]  (DISPLAY set, a window "
                               "manager running)\n";
        return 2;
    }
    const int runs = argc == 3 ? std::max(1, std::atoi(argv[2])) : 20;
    ActiveWindowWatch watch;
    if (!watch.ok()) {
        return 2;
    }
    // A copy of the program with a home, settings and runtime folder of its own, kept
    // running hidden as the session would start it with Keep Running on.
    QTemporaryDir home;
    const QString folder = home.path() + QStringLiteral("/bin");
    const QString kwiklet = folder + QStringLiteral("/kwiklet");
    QDir().mkpath(folder);
    QDir().mkpath(home.path() + QStringLiteral("/run"));
    QFile::copy(QString::fromLocal8Bit(argv[1]), kwiklet);
    QFile::copy(
        QFileInfo(QString::fromLocal8Bit(argv[1])).absolutePath() + QStringLiteral("/avs.dat"),
        folder + QStringLiteral("/avs.dat"));
    QFile::setPermissions(folder + QStringLiteral("/avs.dat"),
                          QFile::ReadOwner | QFile::WriteOwner);
    QDir().mkpath(home.path() + QStringLiteral("/.config/kwiklet"));
    QFile settings(home.path() + QStringLiteral("/.config/kwiklet/kwiklet.ini"));
    settings.open(QIODevice::WriteOnly);
    settings.write("[Options]\nTop=0\nLeft=0\nStayRunning=1\n");
    settings.close();
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/.local/share")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", (home.path() + QStringLiteral("/run")).toUtf8());
    QFile::setPermissions(home.path() + QStringLiteral("/run"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcess running;
    running.start(kwiklet, {QStringLiteral("--autostart")});
    running.waitForStarted();
    // The first call loads the main window (and rebuilds an empty index); not timed.
    QProcess::execute(kwiklet, {QStringLiteral("--toggle")});
    if (!watch.waitFor(QStringLiteral("Kwiklet"), true)) {
        QTextStream(stderr) << "the main window never became active\n";
        return 1;
    }
    std::vector<double> summon, client, minimal, byKey, keySender;
    for (int i = 0; i < runs; ++i) {
        QProcess::execute(kwiklet, {QStringLiteral("--hide")});
        watch.waitFor(QStringLiteral("Kwiklet"), false);
        QElapsedTimer timer;
        timer.start();
        client.push_back(run(kwiklet, {QStringLiteral("--toggle")}));
        if (!watch.waitFor(QStringLiteral("Kwiklet"), true)) {
            QTextStream(stderr) << "--toggle did not bring the window up\n";
            return 1;
        }
        summon.push_back(millisecondsOf(timer));

        QProcess::execute(kwiklet, {QStringLiteral("--hide")});
        watch.waitFor(QStringLiteral("Kwiklet"), false);
        timer.restart();
        keySender.push_back(run(QStringLiteral("xdotool"),
                                {QStringLiteral("key"), QStringLiteral("ctrl+alt+space")}));
        if (!watch.waitFor(QStringLiteral("Kwiklet"), true)) {
            QTextStream(stderr) << "the hotkey did not bring the window up\n";
            return 1;
        }
        byKey.push_back(millisecondsOf(timer));

        QProcess window;
        timer.restart();
        window.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--minimal-window")});
        const bool shown = watch.waitFor(kMinimalTitle, true);
        minimal.push_back(millisecondsOf(timer));
        window.kill();
        window.waitForFinished();
        if (!shown) {
            QTextStream(stderr) << "the minimal window never became active\n";
            return 1;
        }
    }
    QProcess::execute(kwiklet, {QStringLiteral("--quit")});
    running.waitForFinished();
    QTextStream(stdout) << "runs: " << runs << "\n"
                        << "kwiklet --toggle to the window active: median " << median(summon)
                        << " ms\n"
                        << "the thin client's own run time:        median " << median(client)
                        << " ms\n"
                        << "a minimal Qt window started, to active: median " << median(minimal)
                        << " ms\n"
                        << "the hotkey pressed by xdotool, to active: median " << median(byKey)
                        << " ms (xdotool's own run: median " << median(keySender) << " ms)\n";
    return 0;
}
