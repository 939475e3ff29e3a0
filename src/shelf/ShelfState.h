#pragma once
// What the book shelf keeps for the whole run besides the open book itself.
#include <QString>

struct ShelfState {
    // The book directory; ends with the platform's separator once listed.
    QString BookDirectory;

    // Coordination of nested loads (a newer selection, or the window closing,
    // arriving while a book is being read between pieces).
    bool loading = false;
    int nextBookIndex = -1;
    bool hasNextBook = false;
    bool stopped = false;
};
