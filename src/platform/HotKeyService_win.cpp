// Windows: the platform's own hot keys, bound to the owner's top-level window.
// WM_HOTKEY arrives in the message queue and is turned into the notification.
#include "platform/HotKeyService.h"

#include "platform/Log.h"
#include "platform/Notification.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QWidget>

#include <memory>

#include <windows.h>

namespace {

HWND TopLevelWindowOf(WindowHandle handle)
{
    QWidget *widget = WidgetOf(handle);
    return widget ? reinterpret_cast<HWND>(widget->window()->winId()) : nullptr;
}

class RegisteredHotKey : public QAbstractNativeEventFilter {
public:
    RegisteredHotKey(WindowHandle owner, HWND window, WindowHandle notifyTarget)
        : owner_(owner), window_(window), notifyTarget_(notifyTarget)
    {}

    WindowHandle Owner() const { return owner_; }
    HWND Window() const { return window_; }

    // The message is seen by the dispatcher first and, unless filtered there,
    // by the window procedure; whichever sees it first consumes it.
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "windows_dispatcher_MSG" && eventType != "windows_generic_MSG")
            return false;
        const auto *msg = static_cast<const MSG *>(message);
        if (msg->message != WM_HOTKEY || msg->hwnd != window_ || msg->wParam != WPARAM(kHotKeyNumber))
            return false;
        PostNotification(WidgetOf(notifyTarget_), kHotKeyNumber, 0);
        return true;
    }

private:
    WindowHandle owner_;
    HWND window_;
    WindowHandle notifyTarget_;
};

std::unique_ptr<RegisteredHotKey> &ActiveHotKey()
{
    static std::unique_ptr<RegisteredHotKey> active;
    return active;
}

} // namespace

int RegisterHotKey(WindowHandle owner, WindowHandle notifyTarget, int modifiers, int virtualKey)
{
    if (ActiveHotKey()) {
        qCInfo(lcPlatform) << "hot key: one is already registered";
        return 0;
    }
    const HWND window = TopLevelWindowOf(owner);
    if (!window || !QCoreApplication::instance()) {
        qCInfo(lcPlatform) << "hot key: no window for handle" << owner;
        return 0;
    }
    if (!::RegisterHotKey(window, kHotKeyNumber, UINT(modifiers), UINT(virtualKey))) {
        qCInfo(lcPlatform) << "hot key: RegisterHotKey failed, error" << ::GetLastError();
        return 0;
    }
    auto hotKey = std::make_unique<RegisteredHotKey>(owner, window, notifyTarget);
    QCoreApplication::instance()->installNativeEventFilter(hotKey.get());
    ActiveHotKey() = std::move(hotKey);
    return kHotKeyNumber;
}

void UnregisterHotKey(WindowHandle owner, int id)
{
    std::unique_ptr<RegisteredHotKey> &active = ActiveHotKey();
    if (id != kHotKeyNumber || !active || active->Owner() != owner)
        return;
    ::UnregisterHotKey(active->Window(), kHotKeyNumber);
    active.reset(); // a native event filter takes itself out of Qt's list when destroyed
}

HotKeyChooser HotKeyChooserHere()
{
    return HotKeyChooser::Program;
}

bool ConfigureHotKey(WindowHandle, int)
{
    return false;
}
