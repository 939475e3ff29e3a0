#include "tools/HotKey.h"

#include "platform/HotKeyService.h"
#include "platform/WindowHandle.h"

#include <QGuiApplication>
#include <QWidget>

namespace {
constexpr int kNoModifiers = 0;
} // namespace

int RegisterReaderHotKey(QWidget *window, QWidget *notifyLabel)
{
    return RegisterHotKey(HandleOf(window), HandleOf(notifyLabel), kNoModifiers, VK_OEM_3);
}

void ReleaseReaderHotKey(QWidget *window, int hotKeyId)
{
    UnregisterHotKey(HandleOf(window), hotKeyId);
}

void OnHotKey(QWidget &window, int hotKey, int)
{
    if (hotKey != kHotKeyNumber)
        return;
    // Place, size and contents stay as they are; no focus is asked for, except
    // on Wayland, where a window shown again gets no keyboard focus unless it asks.
    window.setVisible(!window.isVisible());
    if (window.isVisible() && QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        window.activateWindow();
}

void ShowInFront(QWidget &window)
{
    window.show();
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.raise();
    window.activateWindow();
}
