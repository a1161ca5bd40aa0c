#include "platform/posix/GlobalKeyGrab.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace kwiklet {
namespace {

// The bits of the modifiers a combination may hold in a key event's state, and of
// NumLock, which it may hold as well: where the server's modifier map puts the Alt,
// Super and NumLock keys (Mod1, Mod4 and Mod2 on the usual maps).
struct ModifierBits {
    std::uint16_t alt = XCB_MOD_MASK_1;
    std::uint16_t super = XCB_MOD_MASK_4;
    std::uint16_t numLock = XCB_MOD_MASK_2;

    std::uint16_t of(Qt::KeyboardModifiers modifiers) const {
        const std::pair<Qt::KeyboardModifier, std::uint16_t> bits[] = {
            {Qt::ControlModifier, XCB_MOD_MASK_CONTROL},
            {Qt::AltModifier, alt},
            {Qt::ShiftModifier, XCB_MOD_MASK_SHIFT},
            {Qt::MetaModifier, super},
        };
        std::uint16_t result = 0;
        for (const auto& [modifier, bit] : bits) {
            if (modifiers.testFlag(modifier)) {
                result |= bit;
            }
        }
        return result;
    }
};

// The X key symbol of each key a combination may name.
xcb_keysym_t keysymOf(Qt::Key key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return static_cast<xcb_keysym_t>(key - Qt::Key_A + 'a');  // as printed unshifted
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35) {
        return static_cast<xcb_keysym_t>(0xffbe + (key - Qt::Key_F1));
    }
    constexpr std::pair<Qt::Key, xcb_keysym_t> kNamed[] = {
        {Qt::Key_Tab, 0xff09},       {Qt::Key_Return, 0xff0d}, {Qt::Key_Escape, 0xff1b},
        {Qt::Key_Backspace, 0xff08}, {Qt::Key_Insert, 0xff63}, {Qt::Key_Delete, 0xffff},
        {Qt::Key_Home, 0xff50},      {Qt::Key_End, 0xff57},    {Qt::Key_PageUp, 0xff55},
        {Qt::Key_PageDown, 0xff56},  {Qt::Key_Left, 0xff51},   {Qt::Key_Up, 0xff52},
        {Qt::Key_Right, 0xff53},     {Qt::Key_Down, 0xff54},   {Qt::Key_Print, 0xff61},
        {Qt::Key_Pause, 0xff13},     {Qt::Key_Menu, 0xff67},
    };
    for (const auto& [named, keysym] : kNamed) {
        if (named == key) {
            return keysym;
        }
    }
    return static_cast<xcb_keysym_t>(key);  // space and the digits are their own symbols
}

// Every key of the keyboard whose symbols include this one.
std::vector<xcb_keycode_t> keycodesOf(xcb_connection_t* connection, xcb_keysym_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_get_keyboard_mapping_reply_t* mapping = xcb_get_keyboard_mapping_reply(
        connection,
        xcb_get_keyboard_mapping(connection, setup->min_keycode, static_cast<std::uint8_t>(count)),
        nullptr);
    std::vector<xcb_keycode_t> keycodes;
    if (mapping == nullptr) {
        return keycodes;
    }
    const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(mapping);
    const int perKey = mapping->keysyms_per_keycode;
    for (int i = 0; i < count; ++i) {
        if (std::find(symbols + i * perKey, symbols + (i + 1) * perKey, keysym) !=
            symbols + (i + 1) * perKey) {
            keycodes.push_back(static_cast<xcb_keycode_t>(setup->min_keycode + i));
        }
    }
    std::free(mapping);
    return keycodes;
}

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

// The modifier bit the server's map gives one of the keys bearing the symbol, or the
// usual one when none has any.
std::uint16_t modifierBitOf(xcb_connection_t* connection,
                            const xcb_get_modifier_mapping_reply_t& map, xcb_keysym_t keysym,
                            std::uint16_t usual) {
    const std::vector<xcb_keycode_t> keys = keycodesOf(connection, keysym);
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(&map);
    const int perModifier = map.keycodes_per_modifier;
    constexpr int kModifiers = 8;  // Shift, Lock, Control, Mod1 to Mod5
    for (int i = 0; i < kModifiers * perModifier; ++i) {
        if (codes[i] != 0 && std::find(keys.begin(), keys.end(), codes[i]) != keys.end()) {
            return static_cast<std::uint16_t>(1U << (i / perModifier));
        }
    }
    return usual;
}

ModifierBits modifierBitsOf(xcb_connection_t* connection) {
    ModifierBits bits;
    xcb_get_modifier_mapping_reply_t* map =
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr);
    if (map != nullptr) {
        bits.alt = modifierBitOf(connection, *map, 0xffe9, bits.alt);          // Alt_L
        bits.super = modifierBitOf(connection, *map, 0xffeb, bits.super);      // Super_L
        bits.numLock = modifierBitOf(connection, *map, 0xff7f, bits.numLock);  // Num_Lock
        std::free(map);
    }
    return bits;
}

}  // namespace

GlobalKeyGrab::GlobalKeyGrab(xcb_connection_t* connection, std::function<void()> pressed)
    : connection_(connection),
      root_(xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root),
      userTime_(atomNamed(connection, "_NET_WM_USER_TIME")),
      pressed_(std::move(pressed)) {}

GlobalKeyGrab::~GlobalKeyGrab() {
    QCoreApplication::instance()->removeNativeEventFilter(this);
    for (const xcb_keycode_t keycode : keycodes_) {
        for (const std::uint16_t locks : locks_) {
            xcb_ungrab_key(connection_, keycode, root_, modifiers_ | locks);
        }
    }
    xcb_flush(connection_);
}

bool GlobalKeyGrab::grab(const KeyCombination& keys) {
    const ModifierBits bits = modifierBitsOf(connection_);
    modifiers_ = bits.of(keys.modifiers);
    combinationBits_ =
        bits.of(Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier);
    locks_ = {0, XCB_MOD_MASK_LOCK, bits.numLock,
              static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK | bits.numLock)};
    for (const xcb_keycode_t keycode : keycodesOf(connection_, keysymOf(keys.key))) {
        keycodes_.push_back(keycode);
        for (const std::uint16_t locks : locks_) {
            xcb_generic_error_t* error = xcb_request_check(
                connection_,
                xcb_grab_key_checked(connection_, 0, root_, modifiers_ | locks, keycode,
                                     XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
            const bool refused = error != nullptr;
            std::free(error);
            if (refused) {
                return false;
            }
        }
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
    return true;
}

bool GlobalKeyGrab::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<xcb_generic_event_t*>(message);
    const std::uint8_t type = event->response_type & 0x7f;
    if (type == XCB_PROPERTY_NOTIFY) {
        const auto* change = static_cast<const xcb_property_notify_event_t*>(message);
        if (stamped_ != XCB_NONE && change->window == stamped_ && change->atom == userTime_) {
            stamped_ = XCB_NONE;
            queuePress();
        }
        return false;
    }
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) {
        return false;
    }
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    if (key->event != root_ ||
        std::find(keycodes_.begin(), keycodes_.end(), key->detail) == keycodes_.end()) {
        return false;
    }
    if (type == XCB_KEY_RELEASE) {
        held_ = false;
    } else if (!held_ && (key->state & combinationBits_) == modifiers_) {
        held_ = true;
        stampUserTime(key->time);
    }
    return false;
}

void GlobalKeyGrab::stampUserTime(xcb_timestamp_t time) {
    for (const QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window->handle() != nullptr) {
            stamped_ = static_cast<xcb_window_t>(window->winId());
            xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, stamped_, userTime_,
                                XCB_ATOM_CARDINAL, 32, 1, &time);
            xcb_flush(connection_);
            return;
        }
    }
    queuePress();  // no window yet that could come forward
}

void GlobalKeyGrab::queuePress() {
    QMetaObject::invokeMethod(
        &receiver_, [this] { pressed_(); }, Qt::QueuedConnection);
}

}  // namespace kwiklet
