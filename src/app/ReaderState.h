#pragma once
// Everything the program keeps for the whole run besides what the window and
// its reading session hold. Created before the main window, destroyed after it.
#include "core/BookStore.h"
#include "core/Settings.h"
#include "layout/LayoutTable.h"
#include "platform/QtWindowSystem.h"
#include "platform/ReaderInstance.h"
#include "sync/BookSync.h"
#include "tools/HotKey.h"

#include <QString>
#include <optional>

// What the first step of start-up read, for its second step.
struct StartupReading {
    SettingTexts texts;
    bool settingsExisted = false;
    qint64 settingsTime = 0; // when the settings file was last written
    bool reopening = false;  // the remembered book is being opened
};

struct ReaderState {
    // What the reader remembers of every book read, kept in books.db.
    BookStore store;
    // Keeps the store's records alike with other computers' ([同步]).
    BookSync sync{store};
    LayoutTable layoutTable;
    QtWindowSystem windowSystem;
    QString SettingsPath;
    // The hide key config.ini names, and its claim while the reader runs.
    ReaderHotKey hotKey;
    // The program's one reader on its settings, which later starts hand over
    // to; none where the window runs on its own (tests, the benchmark).
    ReaderInstance *instance = nullptr;
    // The book named on the command line, opened instead of the remembered
    // one; empty for none.
    QString bookToOpen;
    StartupReading startupReading;
    // Start-up has finished putting the reader back where the user stopped.
    bool startedUp = false;
    // The settings as config.ini held them, while start-up has not put the
    // reader back at their place: still reopening the book, or unable to (its
    // folder or file missing). Shutdown then writes that place back, text for
    // text, instead of the reader's, unless a book has been shown or a folder
    // chosen since.
    std::optional<SettingTexts> rememberedPlace;
    // Shutdown has run: nothing may write settings again.
    bool shutDown = false;
};
