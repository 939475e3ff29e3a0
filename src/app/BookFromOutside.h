#pragma once
// Books and folders given to the reader from outside its book list: a path on
// the command line or handed over by a later start, a file or folder dropped
// on the window, a book of 最近阅读. A book opens as a book of its folder,
// which becomes the book folder, at the book's own remembered place.
#include "core/BookFolder.h"

#include <QString>
#include <QStringList>
#include <QUrl>

class MessageStrip;
class ReadingSession;

// The book paths (core/BookFolder.h) of a command line's arguments (the
// program's name left out; book paths already, or file:// URLs), each made
// absolute against the current folder.
QStringList BookPathsFrom(const QStringList &arguments);
// The book path of a file:// URL.
QString BookPathOf(const QUrl &file);

// Why the path cannot be opened, in the reader's words; empty for None.
QString BookFileProblemText(BookFileProblem problem, const QString &path);

// Starts opening the book file at the book path `path`. A path that is no
// book the reader can open changes nothing: the strip says why for a few
// seconds (and the log). Returns whether the book is being opened.
bool OpenBookFromOutside(ReadingSession &session, MessageStrip &strip, const QString &path);
