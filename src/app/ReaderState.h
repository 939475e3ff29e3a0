#pragma once
// Everything the program keeps for the whole run besides what the controls
// show. Created before the main window, destroyed after it.
#include "app/Settings.h"
#include "core/OpenBook.h"
#include "layout/LayoutTable.h"
#include "platform/QtWindowSystem.h"
#include "shelf/ShelfState.h"

#include <QString>
#include <optional>

struct ReaderState {
    // The open book; the chapter list and the pane show it.
    OpenBook book;
    ShelfState shelf;
    LayoutTable layoutTable;
    QtWindowSystem windowSystem;
    QString SettingsPath;
    int HotKeyId = 0;
    // Start-up has finished putting the reader back where the user stopped.
    bool startedUp = false;
    // The remembered settings while start-up is still reopening their book:
    // a close in the meantime must keep that place rather than save a
    // half-restored reader.
    std::optional<RememberedSettings> placeBeingRestored;
    // Shutdown has run: nothing may start new work or write settings again.
    bool shutDown = false;
};
