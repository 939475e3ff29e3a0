#include "core/RecordMerge.h"

#include <QSet>

#include <algorithm>

namespace {

// A bookmark is the same one wherever it is kept: made at that place at that
// moment. One made again after a deletion is another.
using BookmarkKey = std::pair<qsizetype, qint64>;

BookmarkKey KeyOf(const Bookmark &bookmark)
{
    return {bookmark.position, bookmark.created};
}

QSet<BookmarkKey> KeysOf(const QList<Bookmark> &bookmarks)
{
    QSet<BookmarkKey> keys;
    keys.reserve(bookmarks.size());
    for (const Bookmark &bookmark : bookmarks)
        keys.insert(KeyOf(bookmark));
    return keys;
}

// The bookmarks of both lists, each once (the first list's copy where both
// hold it), in book order, so that equal sets give equal files on both
// computers. Sorting keeps it O(n log n) for the longest lists a record may
// hold.
QList<Bookmark> United(const QList<Bookmark> &first, const QList<Bookmark> &second)
{
    QList<Bookmark> all = first + second;
    std::stable_sort(all.begin(), all.end(), [](const Bookmark &a, const Bookmark &b) { return KeyOf(a) < KeyOf(b); });
    const auto same = [](const Bookmark &a, const Bookmark &b) { return KeyOf(a) == KeyOf(b); };
    all.erase(std::unique(all.begin(), all.end(), same), all.end());
    return all;
}

bool PlaceMoved(const BookRecord &a, const BookRecord &b)
{
    if (a.chapter != b.chapter || a.chapterTitle != b.chapterTitle || a.position != b.position)
        return true;
    return a.position < 0 && a.line != b.line;
}

// One part of a record that follows the reader: its mark, whether two records
// differ in it, and taking it from one record into another.
struct SyncedPart {
    ChangeMark RecordChanges::*mark;
    bool (*differs)(const BookRecord &a, const BookRecord &b);
    void (*take)(BookRecord &to, const BookRecord &from);
};

const SyncedPart kSyncedParts[] = {
    {&RecordChanges::place, PlaceMoved,
     [](BookRecord &to, const BookRecord &from) {
         to.chapter = from.chapter;
         to.chapterTitle = from.chapterTitle;
         to.line = from.line;
         to.position = from.position;
         // Where the other place lies in this computer's file is not known
         // until it is shown here.
         to.filePlace = {};
     }},
    {&RecordChanges::encoding, [](const BookRecord &a, const BookRecord &b) { return a.encoding != b.encoding; },
     [](BookRecord &to, const BookRecord &from) { to.encoding = from.encoding; }},
    {&RecordChanges::chapterRule,
     [](const BookRecord &a, const BookRecord &b) { return a.chapterRule != b.chapterRule; },
     [](BookRecord &to, const BookRecord &from) { to.chapterRule = from.chapterRule; }},
    {&RecordChanges::removedHeadings,
     [](const BookRecord &a, const BookRecord &b) {
         return a.removedHeadings != b.removedHeadings || a.removedUnderRule != b.removedUnderRule;
     },
     [](BookRecord &to, const BookRecord &from) {
         to.removedHeadings = from.removedHeadings;
         to.removedUnderRule = from.removedUnderRule;
     }},
    {&RecordChanges::script, [](const BookRecord &a, const BookRecord &b) { return a.script != b.script; },
     [](BookRecord &to, const BookRecord &from) { to.script = from.script; }},
};

// Whether `a` was made after `b`: the later time, on equal times the greater
// device id, so that both computers choose alike.
bool IsLater(const ChangeMark &a, const ChangeMark &b)
{
    return a.time > b.time || (a.time == b.time && a.device > b.device);
}

} // namespace

void NoteUserChanges(const BookRecord *before, BookRecord &after, const ChangeMark &mark,
                     std::optional<qint64> placeMovedAt)
{
    const BookRecord none;
    const BookRecord &was = before ? *before : none;
    for (const SyncedPart &part : kSyncedParts) {
        const bool isPlace = part.mark == &RecordChanges::place;
        if (isPlace && (!before || !placeMovedAt))
            continue;
        if (part.differs(was, after))
            after.changes.*part.mark = isPlace ? ChangeMark{*placeMovedAt, mark.device} : mark;
    }
    const QSet<BookmarkKey> kept = KeysOf(after.bookmarks);
    QSet<BookmarkKey> deleted = KeysOf(after.changes.deletedBookmarks);
    for (const Bookmark &bookmark : was.bookmarks) {
        if (!kept.contains(KeyOf(bookmark)) && !deleted.contains(KeyOf(bookmark))) {
            after.changes.deletedBookmarks.append(bookmark);
            deleted.insert(KeyOf(bookmark));
        }
    }
}

BookRecord MergeRecords(const BookRecord &local, const BookRecord &remote)
{
    BookRecord merged = local;
    for (const SyncedPart &part : kSyncedParts) {
        if (IsLater(remote.changes.*part.mark, local.changes.*part.mark)) {
            part.take(merged, remote);
            merged.changes.*part.mark = remote.changes.*part.mark;
        }
    }
    merged.changes.deletedBookmarks = United(local.changes.deletedBookmarks, remote.changes.deletedBookmarks);
    const QSet<BookmarkKey> deleted = KeysOf(merged.changes.deletedBookmarks);
    merged.bookmarks = United(local.bookmarks, remote.bookmarks);
    merged.bookmarks.removeIf([&deleted](const Bookmark &bookmark) { return deleted.contains(KeyOf(bookmark)); });
    return merged;
}

void RedateChanges(RecordChanges &changes, const std::function<ChangeMark(const ChangeMark &mark)> &redate)
{
    for (const SyncedPart &part : kSyncedParts)
        changes.*part.mark = redate(changes.*part.mark);
}
