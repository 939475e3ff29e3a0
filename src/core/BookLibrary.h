#pragma once
// The books of a book folder and of its subfolders, as the book list holds
// them. Each is an entry: the book's path relative to the book folder, its
// parts joined by "/" ("玄幻/书.txt"), so a book of the folder itself is its
// kept name alone (BookFileName.h) and keeps the key its record always had.
// The folder's own books come first; then each subfolder that holds books,
// as an entry of its own ending in "/" ("玄幻/"), followed by its books.
#include <QStringList>

// How deep below the book folder books are listed: 玄幻/仙侠/完本/ is.
constexpr int kSubfolderDepth = 3;

struct BookLibrary {
    QStringList entries;
    // Every folder read, relative as entries are ("" for the book folder,
    // "玄幻/", "玄幻/完本/"), those without books included: where a new book
    // can appear.
    QStringList folders;
};

// Lists the directory (with its separator at the end) and its subfolders to
// kSubfolderDepth, in ListedBefore's order. A folder reached twice (a link
// that loops) is read once; an unreadable one is left out and logged, as is a
// subfolder whose name is no UTF-8.
BookLibrary ListLibrary(const QString &directory);

// Whether the entry stands for a subfolder ("玄幻/").
bool IsFolderEntry(const QString &entry);
// The entry's folder with its "/": "" for a book of the folder itself,
// "玄幻/" for "玄幻/书.txt" and for "玄幻/" itself.
QString FolderOfEntry(const QString &entry);
// The entry's last part: the book's kept name, or the subfolder's name.
QString NameOfEntry(const QString &entry);
// The listing's order: by folder, part by part as names go (a folder before
// its subfolders), then the folder's own entry, then the names of its books.
bool ListedBefore(const QString &a, const QString &b);
