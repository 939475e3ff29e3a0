#include "HotKey.h"

#include "HotKeyService.h"
#include "NotifyLabel.h"
#include "ReaderControls.h"
#include "WindowHandle.h"

#include <QWidget>

namespace {
constexpr int kNoModifiers = 0;
constexpr int kGraveKey = 0xC0;
} // namespace

int RegisterReaderHotKey(const ReaderControls &controls)
{
    return RegisterHotKey(HandleOf(controls.mainWindow), HandleOf(controls.标签_热键反馈), kNoModifiers, kGraveKey);
}

void ReleaseReaderHotKey(const ReaderControls &controls, int hotKeyId)
{
    UnregisterHotKey(HandleOf(controls.mainWindow), hotKeyId);
}

void OnHotKey(const ReaderControls &controls, int hotKey, int)
{
    if (hotKey != kHotKeyNumber)
        return;
    // Place, size and contents stay as they are; no focus is asked for.
    controls.mainWindow->setVisible(!controls.mainWindow->isVisible());
}
