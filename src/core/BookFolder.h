#pragma once
#include <QStringList>

// Bare names of the regular files in a directory whose names end in ".txt" in
// any letter case, sorted by name ignoring case, so the order (and with it a
// remembered index) stays the same from run to run. Directories, FIFOs and
// other special files are left out; a missing or unreadable directory gives
// an empty list.
QStringList ListBookFiles(const QString &directory);

// Why a path is no book the reader can open, or None.
enum class BookFileProblem {
    None,
    Missing,    // nothing there
    NotAFile,   // a directory, a FIFO, a device...
    NotText,    // its name does not end in ".txt" (in any letter case)
    Unreadable, // no permission to read it
    TooLarge,   // over 2 GiB: positions in a book are signed 32-bit numbers
};
BookFileProblem CheckBookFile(const QString &path);
