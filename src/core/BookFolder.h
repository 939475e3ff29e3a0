#pragma once
// The book folder's files, named as the reader keeps their names
// (BookFileName.h): a book path is the folder's path and that name.
#include <QFile>
#include <QStringList>

// The kept names of the regular files in a directory whose names end in
// ".txt" in any letter case, whatever bytes their names hold, sorted by name
// ignoring case, so the order (and with it a remembered index) stays the
// same from run to run. Hidden files, directories, FIFOs and other special
// files are left out; a missing or unreadable directory gives an empty list.
QStringList ListBookFiles(const QString &directory);
// The order of that list: ignoring letter case, and by case where only that
// tells two names apart.
bool NameBefore(const QString &a, const QString &b);

// Why a book path is no book the reader can open, or None.
enum class BookFileProblem {
    None,
    Missing,    // nothing there
    NotAFile,   // a directory, a FIFO, a device...
    NotText,    // its name does not end in ".txt" (in any letter case)
    Unreadable, // no permission to read it
    TooLarge,   // over 2 GiB: positions in a book are signed 32-bit numbers
};
BookFileProblem CheckBookFile(const QString &bookPath);

// Opens the regular file at the book path for reading, into `file`, which
// is not open yet. Returns whether it opened; `failure` then says why not.
bool OpenBookFile(QFile &file, const QString &bookPath, QString &failure);
