#pragma once

// A key press and release as the X server's test extension makes them: the same path a keyboard's
// keys take to whichever window has the focus, without starting a program for each key.

#include <chrono>
#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

inline double wallClockMs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count() / 1000.0;
}

class RealKeys {
public:
    RealKeys() : m_connection(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(m_connection)) {
            return;
        }
        xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(m_connection);
        xcb_keycode_t *codes = xcb_key_symbols_get_keycode(symbols, 'a');
        m_code = codes ? codes[0] : 0;
        std::free(codes);
        xcb_key_symbols_free(symbols);
    }
    ~RealKeys() { xcb_disconnect(m_connection); }
    RealKeys(const RealKeys &) = delete;
    RealKeys &operator=(const RealKeys &) = delete;

    bool ready() const { return m_code != 0; }

    // "a" pressed and let go; returns once the server has the events.
    void tap()
    {
        for (const uint8_t type : {XCB_KEY_PRESS, XCB_KEY_RELEASE}) {
            xcb_test_fake_input(m_connection, type, m_code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        }
        xcb_flush(m_connection);
    }

private:
    xcb_connection_t *m_connection;
    xcb_keycode_t m_code = 0;
};
