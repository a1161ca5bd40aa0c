// What the window manager does for the program's windows on Linux: keeping a window
// above the others, moving a window that has no title bar with the pointer, and framing
// a window of one size without a maximise button.

#include "platform/posix/PosixPlatform.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace kwiklet {
namespace {

bool onX11() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

// Sends the window manager a client message of the type about the window, as the window
// manager rules ask: to the root window, with the data `fill` writes. False without X11.
bool sendToWindowManager(xcb_window_t window, const char* type,
                         const std::function<void(xcb_connection_t*, std::uint32_t*)>& fill) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr) {
        return false;
    }
    xcb_connection_t* connection = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atomNamed(connection, type);
    fill(connection, message.data.data32);
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    return true;
}

// Asks the window manager to add the window to, or take it out of, the layer above the
// others (the EWMH _NET_WM_STATE_ABOVE state) while it is mapped: Qt would otherwise
// unmap and map the window again to change the flag, and the window would flicker.
bool askWindowManagerForAbove(QWidget& window, bool above) {
    constexpr std::uint32_t kRemove = 0;
    constexpr std::uint32_t kAdd = 1;
    constexpr std::uint32_t kFromApplication = 1;
    return sendToWindowManager(static_cast<xcb_window_t>(window.winId()), "_NET_WM_STATE",
                               [above](xcb_connection_t* connection, std::uint32_t* data) {
                                   data[0] = above ? kAdd : kRemove;
                                   data[1] = atomNamed(connection, "_NET_WM_STATE_ABOVE");
                                   data[2] = atomNamed(connection, "_NET_WM_STATE_STAYS_ON_TOP");
                                   data[3] = kFromApplication;
                               });
}

// Asks the window manager to activate the window as a pager (a task bar) does for the
// user's click, at the current time. Qt asks as an application, with the time of the last
// event it saw, which is older than the user's last action in another program when the
// window is called up from outside: window managers that prevent focus stealing refuse
// that request.
void askWindowManagerToActivate(QWindow& window) {
    constexpr std::uint32_t kFromPager = 2;
    sendToWindowManager(static_cast<xcb_window_t>(window.winId()), "_NET_ACTIVE_WINDOW",
                        [](xcb_connection_t*, std::uint32_t* data) {
                            data[0] = kFromPager;
                            data[1] = XCB_CURRENT_TIME;
                        });
}

// Asks for the activation once the window is mapped: a window manager passes over a
// request for a window it does not manage yet.
class ActivationOnMap : public QObject {
public:
    explicit ActivationOnMap(QWindow& window) : QObject(&window) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = static_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window->isExposed()) {
            askWindowManagerToActivate(*window);
            deleteLater();
        }
        return false;
    }
};

// Follows the pointer with the window until the left button is released. Whatever
// else ends the drag (another button, the window going away or the application losing
// the pointer) ends it too, so that a release that never arrives cannot leave the
// window stuck to the pointer.
class PointerDrag : public QObject {
public:
    PointerDrag(QWidget& window, QPoint grabbedAt)
        : window_(&window), offset_(grabbedAt - window.frameGeometry().topLeft()) {}

    void run() {
        // Catch up with the pointer, which has moved on since the button went down.
        window_->move(QCursor::pos() - offset_);
        QCoreApplication::instance()->installEventFilter(this);
        loop_.exec();
        QCoreApplication::instance()->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseMove: {
                const auto* mouse = static_cast<QMouseEvent*>(event);
                if (!(QGuiApplication::mouseButtons() & Qt::LeftButton) || window_.isNull()) {
                    loop_.quit();
                    return false;
                }
                window_->move(mouse->globalPosition().toPoint() - offset_);
                return true;
            }
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonPress:
            case QEvent::ApplicationDeactivate:
                loop_.quit();
                return false;
            case QEvent::Hide:
                if (watched == window_) {
                    loop_.quit();
                }
                return false;
            default:
                return false;
        }
    }

private:
    QPointer<QWidget> window_;
    QPoint offset_;
    QEventLoop loop_;
};

// The Motif window manager hints, which every X11 window manager still reads for the
// functions and decorations of a window's frame. Qt always offers resizing in them.
struct MotifHints {
    static constexpr std::uint32_t kFunctionsGiven = 1U << 0U;
    static constexpr std::uint32_t kDecorationsGiven = 1U << 1U;
    static constexpr std::uint32_t kMove = 1U << 2U;
    static constexpr std::uint32_t kMinimizeFunction = 1U << 3U;
    static constexpr std::uint32_t kClose = 1U << 5U;
    static constexpr std::uint32_t kBorder = 1U << 1U;
    static constexpr std::uint32_t kTitle = 1U << 3U;
    static constexpr std::uint32_t kMenu = 1U << 4U;
    static constexpr std::uint32_t kMinimizeButton = 1U << 5U;

    std::uint32_t flags = kFunctionsGiven | kDecorationsGiven;
    std::uint32_t functions = kMove | kClose;
    std::uint32_t decorations = kBorder | kTitle | kMenu;
    std::uint32_t inputMode = 0;
    std::uint32_t status = 0;
};

// Rewrites the frame hints each time the window is about to be mapped: Qt writes its
// own whenever the window's flags change.
class OneSizeFrame : public QObject {
public:
    explicit OneSizeFrame(QWidget& window) : QObject(&window) { window.installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            writeHints(*static_cast<QWidget*>(watched));
        }
        return false;
    }

private:
    static void writeHints(QWidget& window) {
        auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        if (!onX11() || x11 == nullptr) {
            return;
        }
        MotifHints hints;
        if (window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint)) {
            hints.functions |= MotifHints::kMinimizeFunction;
            hints.decorations |= MotifHints::kMinimizeButton;
        }
        xcb_connection_t* connection = x11->connection();
        const xcb_atom_t atom = atomNamed(connection, "_MOTIF_WM_HINTS");
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                            static_cast<xcb_window_t>(window.winId()), atom, atom, 32,
                            sizeof(hints) / sizeof(std::uint32_t), &hints);
        xcb_flush(connection);
    }
};

}  // namespace

void PosixPlatform::setStayOnTop(QWidget& window, bool on) {
    const Qt::WindowFlags flags = on ? window.windowFlags() | Qt::WindowStaysOnTopHint
                                     : window.windowFlags() & ~Qt::WindowStaysOnTopHint;
    if (!window.isVisible() || !onX11()) {
        // Before the window is shown the flag travels with it to the window manager.
        // Elsewhere (Wayland) stacking is the compositor's alone: the flag is all there is.
        const bool wasVisible = window.isVisible();
        window.setWindowFlags(flags);
        if (wasVisible) {
            window.show();
        }
        return;
    }
    // Qt keeps the flag for later without telling the window system, which learns the
    // new state from the window manager's own message.
    window.overrideWindowFlags(flags);
    askWindowManagerForAbove(window, on);
}

void PosixPlatform::dragWindow(QWidget& window, QPoint grabbedAt) {
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        // Only the compositor may place windows there; it runs the move itself and the
        // program learns no position.
        if (QWindow* handle = window.windowHandle()) {
            handle->startSystemMove();
        }
        return;
    }
    PointerDrag(window, grabbedAt).run();
}

void PosixPlatform::bringForward(QWidget& window) {
    window.raise();
    window.activateWindow();
    QWindow* handle = window.windowHandle();
    if (!onX11() || handle == nullptr) {
        return;
    }
    if (handle->isExposed()) {
        askWindowManagerToActivate(*handle);
    } else if (handle->findChild<ActivationOnMap*>(QString(), Qt::FindDirectChildrenOnly) ==
               nullptr) {
        new ActivationOnMap(*handle);
    }
}

void PosixPlatform::keepWindowSize(QWidget& window) {
    new OneSizeFrame(window);
}

}  // namespace kwiklet
