#pragma once
// What the book shelf keeps for the whole run besides the open book itself.
#include "core/OpenBook.h"

#include <QString>
#include <functional>
#include <optional>

struct ShelfState {
    // The book directory; ends with the platform's separator once listed.
    QString BookDirectory;

    // What the reader chose for a book, by file name; without a function,
    // every book is recognised and cut by the designed pattern.
    std::function<BookChoices(const QString &fileName)> choicesFor;

    // Index of the open book in the book list; -1 when the list does not
    // hold it (none opened yet, or another folder listed since).
    int openBookIndex = -1;

    // Coordination of nested loads (a newer selection, or the window closing,
    // arriving while a book is being read between pieces).
    bool loading = false;
    // Whether the current chain of loads has begun reading a file.
    bool loadStarted = false;
    int nextBookIndex = -1;
    bool hasNextBook = false;
    bool stopped = false;
};
