#pragma once
// What the book folder asks of the file system, answered per platform (with
// OpenBookFile of BookFolder.h): on POSIX systems by the bytes of names
// (BookFileName.h), elsewhere through Qt, whose names hold every file name
// there.
#include <QStringList>

// The kept names of the directory's regular files, hidden ones left out,
// whose names end in ".txt" in any letter case; in no particular order.
QStringList UnsortedBookFiles(const QString &directory);
// The names of the directory's subdirectories (links to one included), hidden
// ones and those whose names are no UTF-8 left out; in no particular order.
QStringList UnsortedSubfolders(const QString &directory);
// What tells one directory from another however it is reached (through a
// link or not); empty when it cannot be read.
QString FolderIdentity(const QString &directory);

struct BookFileFacts {
    bool exists = false;
    bool regular = false;  // a regular file, or a link to one
    bool readable = false; // this user may read it
    qint64 size = 0;
    // When the file came: its birth where the file system keeps one, else
    // its last modification; milliseconds since 1970 (UTC), 0 when unknown.
    qint64 added = 0;
};
BookFileFacts FactsOf(const QString &bookPath);
