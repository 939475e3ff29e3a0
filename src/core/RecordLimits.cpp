#include "core/RecordLimits.h"

#include "core/Log.h"

#include <algorithm>

namespace {

bool WithinBook(qint64 position, qint64 bookSize)
{
    return position >= 0 && (bookSize < 0 || position <= bookSize);
}

bool Refused(const Bookmark &bookmark, qint64 bookSize)
{
    return !WithinBook(bookmark.position, bookSize) || bookmark.label.size() > kLongestText
        || bookmark.chapterTitle.size() > kLongestText;
}

bool Refused(const ChapterHeading &heading, qint64 bookSize)
{
    return !WithinBook(heading.position, bookSize) || heading.text.size() > kLongestText;
}

// Drops the elements `refused` names, then those past the first `most` in
// book order; logs how many went.
template <typename Element>
void KeepWithin(QList<Element> &list, qsizetype most, qint64 bookSize, const char *what)
{
    const qsizetype before = list.size();
    list.removeIf([bookSize](const Element &element) { return Refused(element, bookSize); });
    if (list.size() > most) {
        std::stable_sort(list.begin(), list.end(),
                         [](const Element &a, const Element &b) { return a.position < b.position; });
        list.resize(most);
    }
    if (list.size() < before)
        qCWarning(lcCore) << "book record: refusing" << before - list.size() << what << "beyond what a record holds";
}

} // namespace

BookRecord WithinLimits(BookRecord record, qint64 bookSize)
{
    KeepWithin(record.bookmarks, kMostBookmarks, bookSize, "bookmarks");
    KeepWithin(record.changes.deletedBookmarks, kMostBookmarks, bookSize, "deleted bookmarks");
    KeepWithin(record.removedHeadings, kMostRemovedHeadings, bookSize, "removed headings");
    return record;
}

bool PlaceWithinLimits(const BookRecord &record, qint64 bookSize)
{
    const bool positionKnown = record.position != -1;
    return record.chapter >= 0 && record.line >= -1 && record.chapterTitle.size() <= kLongestText
        && (!positionKnown || WithinBook(record.position, bookSize));
}
