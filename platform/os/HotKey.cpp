#include "HotKey.h"

#include "platform/winsys/WindowProc.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QList>
#include <QObject>
#include <QWidget>

#ifdef VANTOR_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>
#endif

namespace platform {
namespace {

struct Registration {
    HWND hWnd = 0;
    int id = 0;
    UINT fsModifiers = 0;
    UINT vk = 0;
    quint8 keycode = 0;
    quint16 mask = 0;         // the X modifiers the key must come with
    QList<quint16> lockMasks; // the lock states grabbed besides (NumLock, CapsLock)
    quint16 lockBits = 0;     // every lock modifier, left out when a press is matched
    QList<quint32> roots;
    // A held key repeats its press, and the server sends a release before every repeat; it
    // toggles once. A release is taken as real only when the next press comes at another moment.
    bool down = false;
    bool released = false;
    quint32 releaseTime = 0;
};

#ifdef VANTOR_HAVE_XCB

// The server stamps an auto-repeat's release and its press with the same clock reading (or the
// next millisecond); no finger lifts and presses a key that fast.
const quint32 RepeatGapMs = 2;

// Whether a press of a registered key starts a new hold (and so toggles).
bool startsHold(Registration &r, quint32 time)
{
    const bool repeat = r.down && (!r.released || time - r.releaseTime <= RepeatGapMs);
    r.down = true;
    r.released = false;
    return !repeat;
}

const quint16 ShiftMask = XCB_MOD_MASK_SHIFT;
const quint16 LockMask = XCB_MOD_MASK_LOCK;
const quint16 ControlMask = XCB_MOD_MASK_CONTROL;
const quint16 AltMask = XCB_MOD_MASK_1;
const quint16 SuperMask = XCB_MOD_MASK_4;
const quint16 ModifierBits = 0xFF;

xcb_connection_t *connection()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_keysym_t keysymOf(UINT vk)
{
    if (vk >= 0x70 && vk <= 0x87) {
        return XK_F1 + (vk - 0x70);
    }
    if (vk >= 'A' && vk <= 'Z') {
        return XK_a + (vk - 'A');
    }
    if (vk >= '0' && vk <= '9') {
        return XK_0 + (vk - '0');
    }
    return 0;
}

quint8 keycodeOf(xcb_connection_t *c, xcb_keysym_t keysym)
{
    xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(c);
    if (!symbols) {
        return 0;
    }
    xcb_keycode_t *codes = xcb_key_symbols_get_keycode(symbols, keysym);
    const quint8 code = codes ? codes[0] : 0;
    std::free(codes);
    xcb_key_symbols_free(symbols);
    return code;
}

// The modifier bit the server maps a lock key to (NumLock is usually Mod2, but not always).
quint16 modifierOfKey(xcb_connection_t *c, xcb_keysym_t keysym)
{
    const quint8 code = keycodeOf(c, keysym);
    xcb_get_modifier_mapping_reply_t *reply =
        code ? xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr) : nullptr;
    if (!reply) {
        return 0;
    }
    const xcb_keycode_t *codes = xcb_get_modifier_mapping_keycodes(reply);
    quint16 mask = 0;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int k = 0; k < reply->keycodes_per_modifier; ++k) {
            if (codes[modifier * reply->keycodes_per_modifier + k] == code) {
                mask |= quint16(1u << modifier);
            }
        }
    }
    std::free(reply);
    return mask;
}

// Every combination of the lock keys' modifiers: the hot key works whatever the lights show.
QList<quint16> lockCombinations(xcb_connection_t *c)
{
    QList<quint16> locks{LockMask};
    for (xcb_keysym_t keysym : {xcb_keysym_t(XK_Num_Lock), xcb_keysym_t(XK_Scroll_Lock)}) {
        const quint16 mask = modifierOfKey(c, keysym);
        if (mask && !locks.contains(mask)) {
            locks << mask;
        }
    }
    QList<quint16> combinations{0};
    for (quint16 lock : locks) {
        for (qsizetype i = combinations.size() - 1; i >= 0; --i) {
            combinations << quint16(combinations[i] | lock);
        }
    }
    return combinations;
}

quint16 xModifiers(UINT fsModifiers)
{
    quint16 mask = 0;
    mask |= (fsModifiers & MOD_SHIFT) ? ShiftMask : 0;
    mask |= (fsModifiers & MOD_CONTROL) ? ControlMask : 0;
    mask |= (fsModifiers & MOD_ALT) ? AltMask : 0;
    mask |= (fsModifiers & MOD_WIN) ? SuperMask : 0;
    return mask;
}

QList<quint32> roots(xcb_connection_t *c)
{
    QList<quint32> list;
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(c)); it.rem; xcb_screen_next(&it)) {
        list << it.data->root;
    }
    return list;
}

void ungrab(xcb_connection_t *c, const Registration &r, qsizetype grabbed)
{
    for (quint32 root : r.roots) {
        for (qsizetype i = 0; i < grabbed && i < r.lockMasks.size(); ++i) {
            xcb_ungrab_key(c, r.keycode, root, r.mask | r.lockMasks[i]);
        }
    }
    xcb_flush(c);
}

// All or nothing: a key another client holds in any lock state is not ours at all.
bool grab(xcb_connection_t *c, Registration &r)
{
    qsizetype grabbed = 0;
    for (; grabbed < r.lockMasks.size(); ++grabbed) {
        for (quint32 root : r.roots) {
            // Not owner_events: the press comes to the root even when one of our own windows has
            // the focus, so it is never also taken for an ordinary key.
            const xcb_void_cookie_t cookie =
                xcb_grab_key_checked(c, 0, root, r.mask | r.lockMasks[grabbed], r.keycode,
                                     XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
            if (xcb_generic_error_t *error = xcb_request_check(c, cookie)) {
                std::free(error);
                ungrab(c, r, grabbed + 1);
                return false;
            }
        }
    }
    return true;
}

#endif

class HotKeys : public QObject, public QAbstractNativeEventFilter {
public:
    bool add(Registration r);
    bool remove(HWND hWnd, int id);
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override;

private:
    void windowGone(HWND hWnd);

    QList<Registration> m_registrations;
    QList<HWND> m_watched;
    bool m_filtering = false;
};

HotKeys &hotKeys()
{
    static HotKeys *instance = new HotKeys; // lives as long as the process
    return *instance;
}

bool HotKeys::add(Registration r)
{
#ifdef VANTOR_HAVE_XCB
    xcb_connection_t *c = connection();
    QWidget *widget = WidgetOf(r.hWnd);
    if (!c || !widget) {
        return false;
    }
    for (const Registration &existing : m_registrations) {
        if (existing.hWnd == r.hWnd && existing.id == r.id) {
            return false;
        }
    }
    r.keycode = keycodeOf(c, keysymOf(r.vk));
    r.mask = xModifiers(r.fsModifiers);
    r.lockMasks = lockCombinations(c);
    for (quint16 lock : r.lockMasks) {
        r.lockBits |= lock;
    }
    r.roots = roots(c);
    if (!r.keycode || !grab(c, r)) {
        return false;
    }
    m_registrations << r;
    if (!m_filtering) {
        m_filtering = true;
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    if (!m_watched.contains(r.hWnd)) {
        m_watched << r.hWnd;
        const HWND hWnd = r.hWnd;
        connect(widget, &QObject::destroyed, this, [this, hWnd] { windowGone(hWnd); });
    }
    return true;
#else
    Q_UNUSED(r);
    return false;
#endif
}

bool HotKeys::remove(HWND hWnd, int id)
{
    for (qsizetype i = 0; i < m_registrations.size(); ++i) {
        const Registration &r = m_registrations[i];
        if (r.hWnd == hWnd && r.id == id) {
#ifdef VANTOR_HAVE_XCB
            if (xcb_connection_t *c = connection()) {
                ungrab(c, r, r.lockMasks.size());
            }
#endif
            m_registrations.removeAt(i);
            return true;
        }
    }
    return false;
}

void HotKeys::windowGone(HWND hWnd)
{
    m_watched.removeAll(hWnd);
    QList<int> ids;
    for (const Registration &r : m_registrations) {
        if (r.hWnd == hWnd) {
            ids << r.id;
        }
    }
    for (int id : ids) {
        remove(hWnd, id);
    }
}

bool HotKeys::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
#ifdef VANTOR_HAVE_XCB
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const quint8 type = event->response_type & 0x7F;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) {
        return false;
    }
    const auto *key = static_cast<const xcb_key_press_event_t *>(message);
    if (key->event != key->root) {
        return false;
    }
    bool ours = false;
    QList<Registration> fired;
    for (Registration &r : m_registrations) {
        if (r.keycode != key->detail || !r.roots.contains(key->root)) {
            continue;
        }
        if (type == XCB_KEY_RELEASE) {
            if (r.down && !r.released) {
                ours = true;
                r.released = true;
                r.releaseTime = key->time;
            }
            continue;
        }
        if ((key->state & ModifierBits & ~r.lockBits) != r.mask) {
            continue;
        }
        ours = true;
        if (startsHold(r, key->time)) {
            fired << r;
        }
    }
    for (const Registration &r : fired) {
        PostMessage(r.hWnd, wm::HotKey, WPARAM(r.id), MakeLParam(int(r.fsModifiers), int(r.vk)));
    }
    return ours;
#else
    Q_UNUSED(eventType);
    Q_UNUSED(message);
    return false;
#endif
}

} // namespace

bool RegisterHotKey(HWND hWnd, int id, UINT fsModifiers, UINT vk)
{
    Registration r;
    r.hWnd = hWnd;
    r.id = id;
    r.fsModifiers = fsModifiers;
    r.vk = vk;
    return hotKeys().add(r);
}

bool UnregisterHotKey(HWND hWnd, int id)
{
    return hotKeys().remove(hWnd, id);
}

} // namespace platform
