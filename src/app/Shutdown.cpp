#include "app/Shutdown.h"

#include "app/BookSyncing.h"
#include "app/ReaderState.h"
#include "app/SettingsOnScreen.h"
#include "session/ReadingSession.h"
#include "tools/HotKey.h"
#include "ui/EditBox.h"
#include "ui/ReaderControls.h"

void OnShutdown(ReaderState &state, const ReaderControls &controls, ReadingSession &session)
{
    if (state.shutDown)
        return;
    // The book store first: config.ini, written after it, stays the newer.
    session.Close();
    state.shutDown = true;
    controls.编辑框_内容->setFocus();
    WriteSettingTexts(state.SettingsPath, SettingsOnScreen(state, controls, session));
    state.hotKey.Release(controls.mainWindow);
    // Last, bounded: the place just saved goes to the other computers too.
    FinishSync(state.sync);
}
