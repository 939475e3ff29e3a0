#pragma once
// Everything the program keeps for the whole run besides what the controls
// hold. Created before the main window, destroyed after it.
#include "LayoutTable.h"
#include "QtWindowSystem.h"
#include "ShelfState.h"

#include <QString>
#include <optional>

// The book, chapter and line as the settings file holds them.
struct SavedPlace {
    QString book;
    QString chapter;
    QString line;
};

struct ReaderState {
    ShelfState shelf;
    LayoutTable layoutTable;
    QtWindowSystem windowSystem;
    QString SettingsPath;
    int HotKeyId = 0;
    // Start-up has finished putting the reader back where the user stopped.
    bool startedUp = false;
    // The remembered place while start-up is still reopening it: a close in
    // the meantime must keep it rather than save a half-restored reader.
    std::optional<SavedPlace> placeBeingRestored;
    // Shutdown has run: nothing may start new work or write settings again.
    bool shutDown = false;
};
