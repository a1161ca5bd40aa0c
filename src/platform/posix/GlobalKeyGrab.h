#pragma once

// A passive grab of one key combination on the X server's root window, for each key
// that bears its symbol and with NumLock and CapsLock each on and off, since the X
// server matches the modifiers exactly. The presses arrive among Qt's own xcb events.

#include "platform/KeyCombination.h"

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <xcb/xcb.h>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace kwiklet {

class GlobalKeyGrab : public QAbstractNativeEventFilter {
public:
    GlobalKeyGrab(xcb_connection_t* connection, std::function<void()> pressed);
    // Lets go of every grab made.
    ~GlobalKeyGrab() override;
    GlobalKeyGrab(const GlobalKeyGrab&) = delete;
    GlobalKeyGrab& operator=(const GlobalKeyGrab&) = delete;

    // False when another program holds the combination with any of the keys or locks.
    bool grab(const KeyCombination& keys);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override;

private:
    // The window manager brings a window forward only when asked with a time after the
    // user's last action elsewhere, and Qt asks with the time of the latest event it saw
    // of its own windows. So the press is written as the program's latest user action
    // on a window of its own, and handled once Qt has seen that change.
    void stampUserTime(xcb_timestamp_t time);
    void queuePress();

    xcb_connection_t* connection_;
    xcb_window_t root_;
    xcb_atom_t userTime_;              // _NET_WM_USER_TIME
    xcb_window_t stamped_ = XCB_NONE;  // where the press's time was written, until seen
    std::function<void()> pressed_;
    std::uint16_t modifiers_ = 0;           // the combination's bits in a key event's state
    std::uint16_t combinationBits_ = 0;     // those of every modifier a combination may hold
    std::array<std::uint16_t, 4> locks_{};  // none, CapsLock, NumLock, both
    std::vector<xcb_keycode_t> keycodes_;
    bool held_ = false;  // the X server repeats a held key's press
    QObject receiver_;   // a press waiting in the queue goes with the grab
};

}  // namespace kwiklet
