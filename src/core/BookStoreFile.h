#pragma once
// What the reader remembers of every book it has read, kept in books.json
// beside config.ini: one record per book, under the book's file name.
#include "core/ChapterHeadings.h"

#include <QList>
#include <QMap>
#include <QString>

// A place the reader marked: where its line starts in the book text, the
// chapter it was in, the line's first characters, and when it was made
// (milliseconds since 1970, UTC).
struct Bookmark {
    qsizetype position = 0;
    QString chapterTitle;
    QString label;
    qint64 created = 0;

    bool operator==(const Bookmark &) const = default;
};

struct BookRecord {
    // The file as it was when last read: size in bytes, modification time in
    // milliseconds since 1970 (UTC). A file that differs has changed since.
    qint64 size = -1;
    qint64 modified = 0;
    // The chapter shown: its number, and its title without the line end.
    int chapter = 0;
    QString chapterTitle;
    // The pane's first visible line within that chapter.
    int line = 0;
    // Headings the reader removed from the chapter list, as they stood, and
    // the chapter rule they were removed under (ChapterRule::Key()): under
    // another rule they are not removed.
    QList<ChapterHeading> removedHeadings;
    QString removedUnderRule;
    // When the place was last saved, milliseconds since 1970 (UTC).
    qint64 lastRead = 0;
    QList<Bookmark> bookmarks;
    // The encoding the reader chose for the book (TextEncoding::Name()), or
    // empty text to have it recognised.
    QString encoding;
    // The chapter rule chosen for the book (ChapterRule::Key()); empty text
    // for the designed one.
    QString chapterRule;

    bool operator==(const BookRecord &) const = default;
};

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
