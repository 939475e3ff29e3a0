// X11: the key is grabbed on the root window through Qt's own xcb connection,
// so presses arrive wherever the focus is and while our windows are hidden.
#include "platform/X11HotKey.h"

#include "platform/HotKeyService.h"

#include "platform/Log.h"
#include "platform/Notification.h"
#include "platform/X11KeySymbols.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QWidget>

#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

namespace {

struct FreeDeleter {
    void operator()(void *memory) const { std::free(memory); }
};
template <typename T>
using XcbPointer = std::unique_ptr<T, FreeDeleter>;

struct KeySymbolsDeleter {
    void operator()(xcb_key_symbols_t *symbols) const { xcb_key_symbols_free(symbols); }
};
using KeySymbols = std::unique_ptr<xcb_key_symbols_t, KeySymbolsDeleter>;

// The core modifier bits of a key event's state; the bits above are buttons.
constexpr uint16_t kModifierBits = 0xff;

std::optional<uint16_t> XModifiersOf(int modifiers)
{
    struct Pair {
        int hotKey;
        uint16_t x;
    };
    static const Pair pairs[] = {{HotKeyAlt, XCB_MOD_MASK_1},
                                 {HotKeyControl, XCB_MOD_MASK_CONTROL},
                                 {HotKeyShift, XCB_MOD_MASK_SHIFT},
                                 {HotKeyWin, XCB_MOD_MASK_4}};
    uint16_t mask = 0;
    for (const Pair &pair : pairs) {
        if (modifiers & pair.hotKey) {
            mask |= pair.x;
            modifiers &= ~pair.hotKey;
        }
    }
    if (modifiers != 0)
        return std::nullopt;
    return mask;
}

std::vector<xcb_keycode_t> KeycodesOf(xcb_key_symbols_t *symbols, xcb_keysym_t keysym)
{
    std::vector<xcb_keycode_t> keycodes;
    const XcbPointer<xcb_keycode_t> found(xcb_key_symbols_get_keycode(symbols, keysym));
    for (const xcb_keycode_t *code = found.get(); code && *code != XCB_NO_SYMBOL; ++code)
        keycodes.push_back(*code);
    return keycodes;
}

// NumLock sits on whichever modifier the server's mapping gives it (usually Mod2).
uint16_t NumLockMask(xcb_connection_t *connection, xcb_key_symbols_t *symbols)
{
    const std::vector<xcb_keycode_t> numLockCodes = KeycodesOf(symbols, XK_Num_Lock);
    const XcbPointer<xcb_get_modifier_mapping_reply_t> mapping(
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr));
    if (!mapping)
        return 0;
    const xcb_keycode_t *codes = xcb_get_modifier_mapping_keycodes(mapping.get());
    const int perModifier = mapping->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            const xcb_keycode_t code = codes[modifier * perModifier + i];
            for (const xcb_keycode_t numLock : numLockCodes) {
                if (code == numLock)
                    return static_cast<uint16_t>(1u << modifier);
            }
        }
    }
    return 0;
}

xcb_connection_t *QtXcbConnection()
{
    if (!QtRunsOnXcb())
        return nullptr;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// One key grabbed with one modifier combination; CapsLock and NumLock are
// grabbed as variants because X matches modifiers exactly.
class GrabbedKey : public QAbstractNativeEventFilter {
public:
    GrabbedKey(xcb_connection_t *connection, WindowHandle owner, WindowHandle notifyTarget,
               std::vector<xcb_keycode_t> keycodes, uint16_t modifiers, uint16_t numLockMask)
        : connection_(connection), root_(xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root), owner_(owner),
          notifyTarget_(notifyTarget), keycodes_(std::move(keycodes)), modifiers_(modifiers),
          lockMask_(static_cast<uint16_t>(XCB_MOD_MASK_LOCK | numLockMask))
    {}

    WindowHandle Owner() const { return owner_; }

    // All or nothing: a combination refused (usually BadAccess, another client
    // holds it) releases the ones already taken.
    bool Grab()
    {
        for (const xcb_keycode_t keycode : keycodes_) {
            for (const uint16_t variant : Variants()) {
                const XcbPointer<xcb_generic_error_t> error(
                    xcb_request_check(connection_,
                                      xcb_grab_key_checked(connection_, 1, root_, variant, keycode, XCB_GRAB_MODE_ASYNC,
                                                           XCB_GRAB_MODE_ASYNC)));
                if (error) {
                    qCInfo(lcPlatform) << "hot key: grab of keycode" << keycode << "refused, X error"
                                       << error->error_code;
                    Release();
                    return false;
                }
            }
        }
        return true;
    }

    // Ungrabbing a combination another client holds leaves that grab alone.
    void Release()
    {
        for (const xcb_keycode_t keycode : keycodes_) {
            for (const uint16_t variant : Variants())
                xcb_ungrab_key(connection_, keycode, root_, variant);
        }
        xcb_flush(connection_);
    }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & ~0x80) != XCB_KEY_PRESS)
            return false;
        // Presses with other modifiers are ordinary key events for the focused
        // window; only the grab delivers to the root window.
        const auto *press = reinterpret_cast<const xcb_key_press_event_t *>(event);
        if (press->event != root_ || (press->state & kModifierBits & ~lockMask_) != modifiers_)
            return false;
        if (std::find(keycodes_.begin(), keycodes_.end(), press->detail) == keycodes_.end())
            return false;
        PostNotification(WidgetOf(notifyTarget_), kHotKeyNumber, 0);
        return true;
    }

private:
    std::vector<uint16_t> Variants() const
    {
        const uint16_t numLock = lockMask_ & ~XCB_MOD_MASK_LOCK;
        std::vector<uint16_t> variants{modifiers_, static_cast<uint16_t>(modifiers_ | XCB_MOD_MASK_LOCK)};
        if (numLock) {
            variants.push_back(modifiers_ | numLock);
            variants.push_back(modifiers_ | numLock | XCB_MOD_MASK_LOCK);
        }
        return variants;
    }

    xcb_connection_t *connection_;
    xcb_window_t root_;
    WindowHandle owner_;
    WindowHandle notifyTarget_;
    std::vector<xcb_keycode_t> keycodes_;
    uint16_t modifiers_;
    uint16_t lockMask_;
};

std::unique_ptr<GrabbedKey> &ActiveHotKey()
{
    static std::unique_ptr<GrabbedKey> active;
    return active;
}

} // namespace

bool QtRunsOnXcb()
{
    return qGuiApp && QGuiApplication::platformName() == QLatin1String("xcb");
}

int RegisterX11HotKey(WindowHandle owner, WindowHandle notifyTarget, int modifiers, int virtualKey)
{
    xcb_connection_t *connection = QtXcbConnection();
    if (!connection) {
        qCInfo(lcPlatform) << "hot key: no X11 connection on platform" << QGuiApplication::platformName();
        return 0;
    }
    if (ActiveHotKey()) {
        qCInfo(lcPlatform) << "hot key: one is already registered";
        return 0;
    }
    const std::optional<uint16_t> xModifiers = XModifiersOf(modifiers);
    const xcb_keysym_t keysym = KeySymbolOf(virtualKey).keysym;
    if (!xModifiers || keysym == XCB_NO_SYMBOL) {
        qCInfo(lcPlatform) << "hot key: unsupported key" << Qt::hex << virtualKey << "with modifiers" << modifiers;
        return 0;
    }
    const KeySymbols symbols(xcb_key_symbols_alloc(connection));
    std::vector<xcb_keycode_t> keycodes = KeycodesOf(symbols.get(), keysym);
    if (keycodes.empty()) {
        qCInfo(lcPlatform) << "hot key: the keyboard map has no key for keysym" << Qt::hex << keysym;
        return 0;
    }
    auto hotKey = std::make_unique<GrabbedKey>(connection, owner, notifyTarget, std::move(keycodes), *xModifiers,
                                               NumLockMask(connection, symbols.get()));
    if (!hotKey->Grab())
        return 0;
    qGuiApp->installNativeEventFilter(hotKey.get());
    ActiveHotKey() = std::move(hotKey);
    return kHotKeyNumber;
}

void UnregisterX11HotKey(WindowHandle owner, int id)
{
    std::unique_ptr<GrabbedKey> &active = ActiveHotKey();
    if (id != kHotKeyNumber || !active || active->Owner() != owner)
        return;
    active->Release();
    active.reset(); // a native event filter takes itself out of Qt's list when destroyed
}
