#pragma once
// What the reader remembers of every book it has read, kept in books.json
// beside config.ini: one record per book, under the book's file name.
#include "core/BookRecord.h"

#include <QMap>

#include <optional>

// By file name, in the order of the names.
using BookRecords = QMap<QString, BookRecord>;

// The records as books.json holds them: UTF-8 JSON, one book per line.
QByteArray BookRecordsToJson(const BookRecords &records);
// nullopt when the text is not such a store: not JSON, cut short, or a value
// of the wrong type anywhere (members it does not know are skipped).
std::optional<BookRecords> BookRecordsFromJson(QByteArrayView json);

// The file itself: read whole and replaced whole.
class BookStoreFile {
public:
    explicit BookStoreFile(const QString &path);

    // The records in the file. A missing file holds none. One that cannot be
    // read or is damaged is logged and read as holding none too; it is kept
    // as <path>.bad when the file is next saved over it.
    BookRecords Load();
    // Replaces the file with these records, as a whole or not at all (a
    // read-only folder, a full disk: logged, the old file stays as it was).
    bool Save(const BookRecords &records);

private:
    QString path_;
    bool keepDamagedFile_ = false;
};
