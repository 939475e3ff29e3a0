#pragma once
// Everything the program keeps for the whole run besides what the controls
// show. Created before the main window, destroyed after it.
#include "app/Settings.h"
#include "core/BookStore.h"
#include "core/OpenBook.h"
#include "layout/LayoutTable.h"
#include "platform/QtWindowSystem.h"
#include "reader/BookFind.h"
#include "shelf/ShelfState.h"

#include <QString>
#include <optional>

struct ReaderState {
    // The open book; the chapter list and the pane show it.
    OpenBook book;
    // The place in every book read, kept in books.db.
    BookStore store;
    // The last search in the open book.
    FindState find;
    ShelfState shelf;
    LayoutTable layoutTable;
    QtWindowSystem windowSystem;
    QString SettingsPath;
    int HotKeyId = 0;
    // Start-up has finished putting the reader back where the user stopped.
    bool startedUp = false;
    // The place config.ini remembers, while start-up has not put the reader
    // back there: still reopening the book, or unable to (its folder or file
    // missing). Shutdown then writes that place back instead of the reader's,
    // unless the user has opened a book or chosen a folder since.
    std::optional<RememberedSettings> rememberedPlace;
    // A book's place is being put back: what the pane shows meanwhile is no
    // place to save.
    bool restoringPlace = false;
    // Shutdown has run: nothing may start new work or write settings again.
    bool shutDown = false;
};
