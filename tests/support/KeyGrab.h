#pragma once

#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

// Another X client that holds the key (without modifiers) on the root window, if it can, for as
// long as it lives. Its grab goes with its connection, at once.
class KeyHeldElsewhere {
public:
    explicit KeyHeldElsewhere(xcb_keysym_t keysym) : m_other(xcb_connect(nullptr, nullptr))
    {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_other)).data->root;
        xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(m_other);
        xcb_keycode_t *codes = xcb_key_symbols_get_keycode(symbols, keysym);
        xcb_generic_error_t *error = xcb_request_check(
            m_other, xcb_grab_key_checked(m_other, 0, root, 0, codes[0], XCB_GRAB_MODE_ASYNC,
                                          XCB_GRAB_MODE_ASYNC));
        m_held = !error;
        std::free(error);
        std::free(codes);
        xcb_key_symbols_free(symbols);
    }
    ~KeyHeldElsewhere() { xcb_disconnect(m_other); }
    KeyHeldElsewhere(const KeyHeldElsewhere &) = delete;
    KeyHeldElsewhere &operator=(const KeyHeldElsewhere &) = delete;

    bool held() const { return m_held; }

private:
    xcb_connection_t *m_other;
    bool m_held = false;
};

// Whether another X client could grab the key (without modifiers) on the root window now.
inline bool anotherClientCanGrab(xcb_keysym_t keysym)
{
    return KeyHeldElsewhere(keysym).held();
}
