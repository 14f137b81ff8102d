#pragma once

#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

// Whether another X client could grab the key (without modifiers) on the root window now. Its
// grab goes with its connection, at once.
inline bool anotherClientCanGrab(xcb_keysym_t keysym)
{
    xcb_connection_t *other = xcb_connect(nullptr, nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(other)).data->root;
    xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(other);
    xcb_keycode_t *codes = xcb_key_symbols_get_keycode(symbols, keysym);
    xcb_generic_error_t *error =
        xcb_request_check(other, xcb_grab_key_checked(other, 0, root, 0, codes[0],
                                                      XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    const bool grabbed = !error;
    std::free(error);
    std::free(codes);
    xcb_key_symbols_free(symbols);
    xcb_disconnect(other);
    return grabbed;
}
