#pragma once
// What the program keeps for the whole run besides the window and its
// reading session: the settings, the book store and its sync, the layout
// engine's table, the hide key and the program's one instance. Created
// before the main window, destroyed after it.
#include "core/BookStore.h"
#include "core/Preferences.h"
#include "layout/LayoutTable.h"
#include "platform/QtWindowSystem.h"
#include "platform/ReaderInstance.h"
#include "sync/BookSync.h"
#include "tools/HotKey.h"

#include <QString>

struct ReaderServices {
    // Every value config.ini keeps.
    Preferences preferences;
    // What the reader remembers of every book read, kept in books.db.
    BookStore store;
    // Keeps the store's records alike with other computers' ([同步]).
    BookSync sync{store};
    LayoutTable layoutTable;
    QtWindowSystem windowSystem;
    // The hide key config.ini names, and its claim while the reader runs.
    ReaderHotKey hotKey{preferences};
    // The program's one reader on its settings, which later starts hand over
    // to; none where the window runs on its own (tests, the benchmark).
    ReaderInstance *instance = nullptr;
    // The book named on the command line, opened instead of the remembered
    // one; empty for none.
    QString bookToOpen;
};
