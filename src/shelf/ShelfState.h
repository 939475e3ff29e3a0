#pragma once
// What the book shelf keeps for the whole run.
#include <QString>

class QFile;

struct ShelfState {
    // The whole text of the open book, decoded.
    QString BookText;
    // The book directory; ends with the platform's separator once listed.
    QString BookDirectory;
    // The book file, open only while a load is running.
    QFile *BookFile = nullptr;

    // Coordination of nested loads (a newer selection, or the window closing,
    // arriving while a book is being read between pieces).
    bool loading = false;
    int nextBookIndex = -1;
    bool hasNextBook = false;
    bool stopped = false;
};
