#include "platform/HotKeys.h"

#include "platform/ShortCut.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>

namespace {
constexpr quint32 kNumLockKeySym = 0xff7f;

xcb_connection_t* connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootWindow(xcb_connection_t* c) {
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

quint16 xModifiers(quint32 mods) {
    quint16 x = 0;
    if (mods & MOD_SHIFT)
        x |= XCB_MOD_MASK_SHIFT;
    if (mods & MOD_CONTROL)
        x |= XCB_MOD_MASK_CONTROL;
    if (mods & MOD_ALT)
        x |= XCB_MOD_MASK_1;
    return x;
}

// The modifier bit that Num Lock sets on this server (usually Mod2).
quint16 findNumLockMask(xcb_connection_t* c) {
    xcb_key_symbols_t* syms = xcb_key_symbols_alloc(c);
    xcb_keycode_t* numCodes = xcb_key_symbols_get_keycode(syms, kNumLockKeySym);
    quint16 mask = XCB_MOD_MASK_2;
    xcb_get_modifier_mapping_reply_t* map =
        xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr);
    if (map && numCodes) {
        const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(map);
        const int perMod = map->keycodes_per_modifier;
        for (int mod = 0; mod < 8; ++mod)
            for (int i = 0; i < perMod; ++i)
                for (xcb_keycode_t* n = numCodes; *n; ++n)
                    if (codes[mod * perMod + i] == *n)
                        mask = quint16(1 << mod);
    }
    std::free(map);
    std::free(numCodes);
    xcb_key_symbols_free(syms);
    return mask;
}
} // namespace

TGlobalHotKeys::TGlobalHotKeys(QObject* parent) : QObject(parent) {
    if (xcb_connection_t* c = connection()) {
        numLockMask = findNumLockMask(c);
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
}

TGlobalHotKeys::~TGlobalHotKeys() {
    for (const Grab& g : std::as_const(grabs))
        ungrab(g);
    if (connection())
        xcb_flush(connection());
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

int TGlobalHotKeys::GlobalAddAtom(const QString& name) {
    auto it = atoms.constFind(name);
    if (it != atoms.constEnd())
        return *it;
    const int atom = nextAtom++;
    atoms.insert(name, atom);
    return atom;
}

void TGlobalHotKeys::GlobalDeleteAtom(int atom) {
    for (auto it = atoms.begin(); it != atoms.end(); ++it)
        if (*it == atom) {
            atoms.erase(it);
            return;
        }
}

QVector<quint16> TGlobalHotKeys::lockVariants() const {
    return {0, XCB_MOD_MASK_LOCK, numLockMask, quint16(XCB_MOD_MASK_LOCK | numLockMask)};
}

void TGlobalHotKeys::ungrab(const Grab& grab) {
    xcb_connection_t* c = connection();
    if (!c)
        return;
    for (quint8 code : grab.keycodes)
        for (quint16 lock : lockVariants())
            xcb_ungrab_key(c, code, rootWindow(c), quint16(grab.mods | lock));
}

bool TGlobalHotKeys::RegisterHotKey(int id, quint32 modifiers, quint8 vk) {
    UnregisterHotKey(id);
    xcb_connection_t* c = connection();
    const quint32 keysym = KeySymFromVirtualKey(vk);
    if (!c || keysym == 0)
        return false;

    Grab grab;
    grab.mods = xModifiers(modifiers);
    xcb_key_symbols_t* syms = xcb_key_symbols_alloc(c);
    if (xcb_keycode_t* codes = xcb_key_symbols_get_keycode(syms, keysym)) {
        for (xcb_keycode_t* k = codes; *k; ++k)
            if (!grab.keycodes.contains(*k))
                grab.keycodes << *k;
        std::free(codes);
    }
    xcb_key_symbols_free(syms);
    if (grab.keycodes.isEmpty())
        return false;

    bool refused = false;
    QVector<xcb_void_cookie_t> cookies;
    for (quint8 code : grab.keycodes)
        for (quint16 lock : lockVariants())
            cookies << xcb_grab_key_checked(c, 1, rootWindow(c), quint16(grab.mods | lock), code,
                                            XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    for (const xcb_void_cookie_t& cookie : cookies)
        if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
            refused = true;
            std::free(error);
        }
    if (refused) {
        ungrab(grab);
        xcb_flush(c);
        return false;
    }
    grabs.insert(id, grab);
    return true;
}

bool TGlobalHotKeys::UnregisterHotKey(int id) {
    auto it = grabs.find(id);
    if (it == grabs.end())
        return false;
    ungrab(*it);
    grabs.erase(it);
    if (xcb_connection_t* c = connection())
        xcb_flush(c);
    return true;
}

bool TGlobalHotKeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    if ((event->response_type & ~0x80) != XCB_KEY_PRESS)
        return false;
    auto* press = reinterpret_cast<xcb_key_press_event_t*>(event);
    const quint16 significant = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
    const quint16 state = press->state & significant;
    for (auto it = grabs.constBegin(); it != grabs.constEnd(); ++it)
        if (it->mods == state && it->keycodes.contains(press->detail)) {
            emit HotKey(it.key());
            return true;
        }
    return false;
}
