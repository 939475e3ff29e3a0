#pragma once
// The key of a book's record in the book store: the absolute path of the
// book's folder and the book's kept name (BookFileName.h), joined by "/", so
// that two books of one name in two folders keep two records. Versions
// before keyed a record by the name alone; such a key holds no "/".
#include <QString>

// The key of the book `fileName` in `folder` (relative to the current
// folder, or absolute; with or without a separator at its end).
QString BookKey(const QString &folder, const QString &fileName);
// The book's kept name: the part after the last "/", or the whole of an old
// key.
QString BookNameInKey(const QString &key);
