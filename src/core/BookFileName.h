#pragma once
// A book's file name as the reader keeps it: a row of the book list, the key
// of its record in books.db, the last part of a path in the list of books
// read last, 书名 in config.ini.
//
// Qt reads file names as UTF-8 (QFile::decodeName), one U+FFFD for each byte
// that is none, and lists no file whose name is not UTF-8 (a GBK name out of
// a zip archive); the text with U+FFFD in it opens another file, or none. So
// a name is kept as its text only where that text gives its bytes back,
// which is every name the reader kept before. Any other name is kept escaped:
// U+FFFD, then its bytes with every one outside printable ASCII (and "%" and
// the blank) as "%XX" ("\uFFFD%CA%E9.txt"). A name that starts with U+FFFD
// itself is kept escaped as well, so that no two files share a kept name.
#include <QByteArray>
#include <QString>

// The kept name of the file name `bytes` (as a directory lists it).
QString BookNameOf(const QByteArray &bytes);
// The file name's bytes: what an escaped name stands for, else the name as
// QFile::encodeName writes it (a text that merely looks escaped included).
QByteArray NativeNameOf(const QString &name);

// A path whose last part is a kept name (a book path), and the bytes of the
// file it names; the folder before it is a path as Qt writes it.
QByteArray NativePathOf(const QString &bookPath);
// The book path of a path given as its bytes.
QString BookPathOf(const QByteArray &nativePath);

// The name as the book list shows it: the bytes that are no UTF-8, and line
// breaks and other control characters, as U+FFFD.
QString ShownBookName(const QString &name);
// The path with its last part as ShownBookName shows it.
QString ShownBookPath(const QString &bookPath);

// The name as config.ini keeps it on one line: escaped as above when it
// holds a control character (a line break) or starts or ends with a blank
// (which a settings file's reader trims), as it is otherwise.
QString BookNameAsSetting(const QString &name);
// The kept name that text of config.ini stands for: an escaped name that
// BookNameAsSetting writes so, else the text itself.
QString BookNameFromSetting(const QString &text);
