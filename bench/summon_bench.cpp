// How fast the running copy's window comes up on an X server with a window manager, while
// another program's window is active, as on a desktop:
//  - from the start of `kwiklet --toggle`, and from the hotkey (Ctrl+Alt+Space, the
//    default) pressed through the X server's XTest extension, to the window manager naming
//    the main window active (_NET_ACTIVE_WINDOW), and to the window active and drawn (the
//    first damage to its contents after the call);
//  - a minimal Qt window started, to active, in the same run;
//  - once, the first call-up by the hotkey after the session started Kwiklet;
//  - the thin client's own run time.
// Medians of RUNS.
// Usage: summon_bench KWIKLET [RUNS]   (DISPLAY set, a window manager running)

#include "Measure.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QWidget>

#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <poll.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace {

using kwiklet::bench::millisecondsOf;

const QString kKwikletTitle = QStringLiteral("Kwiklet");
const QString kMinimalTitle = QStringLiteral("summon-bench-minimal");
const QString kBehindTitle = QStringLiteral("summon-bench-behind");
constexpr int kWaitLimitMs = 5000;

constexpr uint32_t kControlL = 0xffe3;
constexpr uint32_t kAltL = 0xffe9;
constexpr uint32_t kSpace = 0x0020;

// When, after a call, the window became active and when it was first drawn on.
struct Arrival {
    double activeMs = -1;
    double drawnMs = -1;
    double bothMs() const { return std::max(activeMs, drawnMs); }
};

// The bench's own connection to the X server: it watches the window manager's active
// window and the damage to one window, keeps a window of its own to stand for the
// program the user was in, and presses keys as the keyboard would.
class XSession {
public:
    XSession() : connection_(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(connection_) != 0) {
            return;
        }
        screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(connection_, screen_->root, XCB_CW_EVENT_MASK, &mask);
        activeAtom_ = atom("_NET_ACTIVE_WINDOW");
        const auto* damage = xcb_get_extension_data(connection_, &xcb_damage_id);
        const auto* test = xcb_get_extension_data(connection_, &xcb_test_id);
        extensionsPresent_ =
            damage != nullptr && damage->present != 0 && test != nullptr && test->present != 0;
        if (extensionsPresent_) {
            damageNotify_ = damage->first_event + XCB_DAMAGE_NOTIFY;
            std::free(xcb_damage_query_version_reply(
                connection_,
                xcb_damage_query_version(connection_, XCB_DAMAGE_MAJOR_VERSION,
                                         XCB_DAMAGE_MINOR_VERSION),
                nullptr));
        }
        xcb_flush(connection_);
    }
    ~XSession() { xcb_disconnect(connection_); }
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool ok() const { return xcb_connection_has_error(connection_) == 0 && extensionsPresent_; }

    xcb_window_t activeWindow() {
        auto* reply = xcb_get_property_reply(
            connection_,
            xcb_get_property(connection_, 0, screen_->root, activeAtom_, XCB_ATOM_WINDOW, 0, 1),
            nullptr);
        xcb_window_t window = XCB_NONE;
        if (reply != nullptr && xcb_get_property_value_length(reply) == 4) {
            window = *static_cast<xcb_window_t*>(xcb_get_property_value(reply));
        }
        std::free(reply);
        return window;
    }

    QString title(xcb_window_t window) {
        if (window == XCB_NONE) {
            return {};
        }
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

    // A plain window, managed and given the focus by the window manager like any other
    // program's; it takes the focus back whenever Kwiklet hides.
    void openWindowBehind() {
        const xcb_window_t window = xcb_generate_id(connection_);
        const uint32_t background = screen_->white_pixel;
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, screen_->root, 0, 0, 400, 300,
                          0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen_->root_visual, XCB_CW_BACK_PIXEL,
                          &background);
        const QByteArray name = kBehindTitle.toUtf8();
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME,
                            XCB_ATOM_STRING, 8, static_cast<uint32_t>(name.size()), name.data());
        // WM_HINTS with only the input flag set: the window takes the focus when given it.
        const std::array<uint32_t, 9> hints{1, 1, 0, 0, 0, 0, 0, 0, 0};
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_HINTS,
                            XCB_ATOM_WM_HINTS, 32, hints.size(), hints.data());
        xcb_map_window(connection_, window);
        xcb_flush(connection_);
    }

    void watchDrawingOn(xcb_window_t window) {
        damage_ = xcb_generate_id(connection_);
        xcb_damage_create(connection_, damage_, window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
        xcb_flush(connection_);
    }

    // Forgets the damage so far, so that the next notice is a new drawing.
    void forgetDrawing() {
        xcb_damage_subtract(connection_, damage_, XCB_NONE, XCB_NONE);
        xcb_flush(connection_);
        handleQueuedEvents();
        drawnSinceForgotten_ = false;
    }

    // Waits until another program holds Ctrl+Alt+Space on the root window, as the running
    // copy does once it is ready to be called up; false after five seconds.
    bool waitForHotkeyTaken() {
        const xcb_keycode_t space = keycodeOf(kSpace);
        const auto modifiers = static_cast<uint16_t>(XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1);
        QElapsedTimer timer;
        timer.start();
        while (!timer.hasExpired(kWaitLimitMs)) {
            xcb_generic_error_t* refused = xcb_request_check(
                connection_, xcb_grab_key_checked(connection_, 1, screen_->root, modifiers, space,
                                                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
            std::free(refused);
            if (refused != nullptr) {
                return true;
            }
            xcb_ungrab_key(connection_, space, screen_->root, modifiers);
            xcb_flush(connection_);
            QThread::msleep(10);
        }
        return false;
    }

    // Presses the keys in order and lets them go in reverse, as fingers would; the press
    // leaves for the server when this returns.
    void pressChord(std::initializer_list<uint32_t> keysyms) {
        std::vector<xcb_keycode_t> codes;
        for (const uint32_t keysym : keysyms) {
            codes.push_back(keycodeOf(keysym));
        }
        for (const xcb_keycode_t code : codes) {
            xcb_test_fake_input(connection_, XCB_KEY_PRESS, code, XCB_CURRENT_TIME, screen_->root,
                                0, 0, 0);
        }
        std::for_each(codes.rbegin(), codes.rend(), [this](xcb_keycode_t code) {
            xcb_test_fake_input(connection_, XCB_KEY_RELEASE, code, XCB_CURRENT_TIME, screen_->root,
                                0, 0, 0);
        });
        xcb_flush(connection_);
    }

    // Waits until the active window's title is (or, with `is` false, is no longer) the
    // title; false after five seconds.
    bool waitForActive(const QString& wanted, bool is) {
        QElapsedTimer timer;
        timer.start();
        return waitUntil(timer, [&] { return (title(activeWindow()) == wanted) == is; });
    }

    // Waits until the window titled `wanted` is active and, with `drawn`, the watched
    // window has been drawn on since the drawing was forgotten; notes when each happened,
    // counted from `since`. False after five seconds.
    bool waitForArrival(const QString& wanted, bool drawn, const QElapsedTimer& since,
                        Arrival& at) {
        return waitUntil(since, [&] {
            if (at.activeMs < 0 && title(activeWindow()) == wanted) {
                at.activeMs = millisecondsOf(since);
            }
            if (at.drawnMs < 0 && drawnSinceForgotten_) {
                at.drawnMs = millisecondsOf(since);
            }
            return at.activeMs >= 0 && (!drawn || at.drawnMs >= 0);
        });
    }

private:
    // Checks the condition after every event the server sends: the active window's
    // property changing and the watched window's damage come as events, so nothing is
    // polled and the bench takes no time from the server it measures.
    template <typename Condition>
    bool waitUntil(const QElapsedTimer& since, Condition condition) {
        const qint64 deadline = since.elapsed() + kWaitLimitMs;
        while (!condition()) {
            if (handleQueuedEvents()) {
                continue;
            }
            const qint64 left = deadline - since.elapsed();
            if (left <= 0) {
                return false;
            }
            pollfd socket{xcb_get_file_descriptor(connection_), POLLIN, 0};
            poll(&socket, 1, static_cast<int>(left));
            handleEvents();
        }
        return true;
    }

    // Events already read, as a reply's arrival may have read them; true if there were.
    bool handleQueuedEvents() {
        bool any = false;
        while (xcb_generic_event_t* event = xcb_poll_for_queued_event(connection_)) {
            note(event);
            any = true;
        }
        return any;
    }

    void handleEvents() {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            note(event);
        }
    }

    void note(xcb_generic_event_t* event) {
        if ((event->response_type & 0x7f) == damageNotify_) {
            drawnSinceForgotten_ = true;
        }
        std::free(event);
    }

    xcb_keycode_t keycodeOf(uint32_t keysym) {
        const xcb_setup_t* setup = xcb_get_setup(connection_);
        const int count = setup->max_keycode - setup->min_keycode + 1;
        auto* reply = xcb_get_keyboard_mapping_reply(
            connection_,
            xcb_get_keyboard_mapping(connection_, setup->min_keycode, static_cast<uint8_t>(count)),
            nullptr);
        xcb_keycode_t found = 0;
        if (reply != nullptr) {
            const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply);
            const int perCode = reply->keysyms_per_keycode;
            for (int i = 0; i < count * perCode && found == 0; ++i) {
                if (keysyms[i] == keysym) {
                    found = static_cast<xcb_keycode_t>(setup->min_keycode + i / perCode);
                }
            }
        }
        std::free(reply);
        return found;
    }

    xcb_atom_t atom(const char* name) {
        auto* reply = xcb_intern_atom_reply(
            connection_,
            xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t found = reply ? reply->atom : XCB_NONE;
        std::free(reply);
        return found;
    }

    xcb_connection_t* connection_;
    xcb_screen_t* screen_ = nullptr;
    xcb_atom_t activeAtom_ = XCB_NONE;
    bool extensionsPresent_ = false;
    uint8_t damageNotify_ = 0;
    xcb_damage_damage_t damage_ = XCB_NONE;
    bool drawnSinceForgotten_ = false;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Runs the program to its end, or kills it after 15 s (a thin client gives up on an
// unanswering copy after 10 s); its run time in milliseconds.
double run(const QString& program, const QStringList& arguments) {
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(15000)) {
        process.kill();
        process.waitForFinished();
    }
    return millisecondsOf(timer);
}

int fail(const char* what) {
    QTextStream(stderr) << what << "\n";
    return 1;
}

// A copy of the program with a home, settings and runtime folder of its own, set to keep
// running as the session would start it with Keep Running on; the program's path.
QString prepareHome(const QTemporaryDir& home, const QString& program) {
    const QString folder = home.path() + QStringLiteral("/bin");
    const QString kwiklet = folder + QStringLiteral("/kwiklet");
    QDir().mkpath(folder);
    QDir().mkpath(home.path() + QStringLiteral("/run"));
    QFile::copy(program, kwiklet);
    QFile::copy(QFileInfo(program).absolutePath() + QStringLiteral("/avs.dat"),
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
    return kwiklet;
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
    XSession x;
    if (!x.ok()) {
        return fail("no X server with the DAMAGE and XTEST extensions");
    }
    x.openWindowBehind();
    if (!x.waitForActive(kBehindTitle, true)) {
        return fail("the window manager never made the bench's own window active");
    }
    QTemporaryDir home;
    const QString kwiklet = prepareHome(home, QString::fromLocal8Bit(argv[1]));
    // A first session builds the index (the avs.dat beside a built program is empty) and
    // ends; the next starts as after a login, with the index filled.
    QProcess running;
    const auto startWithSession = [&] {
        running.start(kwiklet, {QStringLiteral("--autostart")});
        return running.waitForStarted() && x.waitForHotkeyTaken();
    };
    if (!startWithSession()) {
        return fail("the copy started with the session never took the hotkey");
    }
    run(kwiklet, {QStringLiteral("--toggle")});
    if (!x.waitForActive(kKwikletTitle, true)) {
        return fail("the first session's main window never became active");
    }
    run(kwiklet, {QStringLiteral("--quit")});
    running.waitForFinished();
    if (!startWithSession()) {
        return fail("the copy started with the session never took the hotkey");
    }
    // The first call-up after the session's start, once: the window was loaded out of
    // sight, so it should take no longer than any other.
    QElapsedTimer first;
    first.start();
    x.pressChord({kControlL, kAltL, kSpace});
    if (!x.waitForActive(kKwikletTitle, true)) {
        return fail("the main window never became active");
    }
    const double firstCallUp = millisecondsOf(first);
    x.watchDrawingOn(x.activeWindow());

    std::vector<double> client, toggleActive, toggleDrawn, keyActive, keyDrawn, minimal;
    const auto hide = [&] {
        run(kwiklet, {QStringLiteral("--hide")});
        const bool hidden = x.waitForActive(kKwikletTitle, false);
        x.forgetDrawing();
        return hidden;
    };
    for (int i = 0; i < runs; ++i) {
        if (!hide()) {
            return fail("--hide left the main window active");
        }
        QElapsedTimer since;
        since.start();
        client.push_back(run(kwiklet, {QStringLiteral("--toggle")}));
        Arrival toggled;
        if (!x.waitForArrival(kKwikletTitle, true, since, toggled)) {
            return fail("--toggle did not bring the window up and draw it");
        }
        toggleActive.push_back(toggled.activeMs);
        toggleDrawn.push_back(toggled.bothMs());

        if (!hide()) {
            return fail("--hide left the main window active");
        }
        since.restart();
        x.pressChord({kControlL, kAltL, kSpace});
        Arrival pressed;
        if (!x.waitForArrival(kKwikletTitle, true, since, pressed)) {
            return fail("the hotkey did not bring the window up and draw it");
        }
        keyActive.push_back(pressed.activeMs);
        keyDrawn.push_back(pressed.bothMs());

        QProcess window;
        since.restart();
        window.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--minimal-window")});
        Arrival started;
        const bool shown = x.waitForArrival(kMinimalTitle, false, since, started);
        minimal.push_back(started.activeMs);
        window.kill();
        window.waitForFinished();
        if (!shown) {
            return fail("the minimal window never became active");
        }
    }
    run(kwiklet, {QStringLiteral("--quit")});
    running.waitForFinished();
    QTextStream(stdout)
        << "runs: " << runs << " (medians, ms)\n"
        << "kwiklet --toggle to the window active:          " << median(toggleActive) << "\n"
        << "kwiklet --toggle to the window active and drawn: " << median(toggleDrawn) << "\n"
        << "the thin client's own run time:                  " << median(client) << "\n"
        << "the hotkey pressed (XTest) to the window active: " << median(keyActive) << "\n"
        << "the hotkey pressed to the window active, drawn:  " << median(keyDrawn) << "\n"
        << "a minimal Qt window started, to active:          " << median(minimal) << "\n"
        << "the first call-up by the hotkey, to active, once: " << firstCallUp << "\n";
    return 0;
}
