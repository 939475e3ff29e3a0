#pragma once
// What the reader remembers of every book it has read: one record per book,
// under the book's key (BookKey.h), kept in the book store.
#include "core/BookProgress.h"
#include "core/ChapterHeadings.h"
#include "core/FilePlace.h"

#include <QList>
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

// A change the user made: when (milliseconds since 1970, UTC; 0 for none
// made) and on which computer (its device id).
struct ChangeMark {
    qint64 time = 0;
    QString device;

    bool operator==(const ChangeMark &) const = default;
};

// When the user last changed each part of a record that follows the reader
// from one computer to another, and where; and the bookmarks deleted, so that
// a copy kept elsewhere does not bring them back.
struct RecordChanges {
    ChangeMark place;
    ChangeMark encoding;
    ChangeMark chapterRule;
    ChangeMark removedHeadings;
    ChangeMark script;
    QList<Bookmark> deletedBookmarks;

    bool operator==(const RecordChanges &) const = default;
};

struct BookRecord {
    // The file as it was when last read: size in bytes, modification time in
    // milliseconds since 1970 (UTC). A file that differs has changed since.
    qint64 size = -1;
    qint64 modified = 0;
    // The chapter shown: its number, and its title without the line end.
    int chapter = 0;
    QString chapterTitle;
    // The pane's first visible line within that chapter, and where that
    // line starts in the chapter's text (-1: not known, go by the line), which
    // finds the same text under any typography.
    int line = 0;
    qsizetype position = -1;
    // Where that chapter and line lie in the file of `size` and `modified`.
    FilePlace filePlace;
    // Headings the reader removed from the chapter list, as they stood, and
    // the chapter rule they were removed under (ChapterRule::Key()): under
    // another rule they are not removed.
    QList<ChapterHeading> removedHeadings;
    QString removedUnderRule;
    // When the place was last saved, milliseconds since 1970 (UTC).
    qint64 lastRead = 0;
    // How far into the book that place lies (BookProgress.h), as this
    // computer measured it when saving it; kProgressNotKnown before that.
    int progress = kProgressNotKnown;
    QList<Bookmark> bookmarks;
    // The encoding the reader chose for the book (TextEncoding::Name()), or
    // empty text to have it recognised.
    QString encoding;
    // The chapter rule chosen for the book (ChapterRule::Key()); empty text
    // for the designed one.
    QString chapterRule;
    // The script the book is shown in (ScriptKey()); empty text for its own.
    QString script;
    RecordChanges changes;

    bool operator==(const BookRecord &) const = default;
};
