#include "tools/HotKey.h"

#include "platform/HotKeyService.h"
#include "platform/WindowHandle.h"

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
    // Place, size and contents stay as they are; no focus is asked for.
    window.setVisible(!window.isVisible());
}
