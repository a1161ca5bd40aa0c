// Holds a key combination on the X server until it is ended, as another program that
// took the combination first would: the grab the hotkey check finds taken.
// Usage: kwiklet-hold-key MODIFIER-MASK KEYCODE

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: kwiklet-hold-key MODIFIER-MASK KEYCODE\n", stderr);
        return 2;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_generic_error_t* error = xcb_request_check(
        connection,
        xcb_grab_key_checked(connection, 0, root, static_cast<std::uint16_t>(std::atoi(argv[1])),
                             static_cast<xcb_keycode_t>(std::atoi(argv[2])), XCB_GRAB_MODE_ASYNC,
                             XCB_GRAB_MODE_ASYNC));
    if (error != nullptr) {
        return 1;
    }
    std::puts("held");
    std::fflush(stdout);
    pause();
}
