#include "shelf/BookListModel.h"

#include "core/BookFileFacts.h"
#include "core/BookFileName.h"
#include "core/BookKey.h"
#include "core/BookLibrary.h"

#include <QDateTime>
#include <QLocale>
#include <QSet>

namespace {

// Size, chapter reached and last reading, a line each.
QString ToolTipOf(const std::optional<BookRecord> &record, qint64 size)
{
    QString tip = QStringLiteral("大小：%1").arg(QLocale().formattedDataSize(size));
    if (!record || record->lastRead == 0)
        return tip + QStringLiteral("\n未读过");
    if (!record->chapterTitle.isEmpty())
        tip += QStringLiteral("\n读到：%1").arg(ShownListText(record->chapterTitle));
    const QDateTime lastRead = QDateTime::fromMSecsSinceEpoch(record->lastRead);
    return tip + QStringLiteral("\n上次阅读：%1").arg(lastRead.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
}

} // namespace

// A kept name shows no control character, so it needs no text of its own for
// a screen reader.
QVariant BookListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= Count())
        return TextListModel::data(index, role);
    const QString entry = Entry(index.row());
    if (IsFolderEntry(entry))
        return role == Qt::DisplayRole ? ShownListText(entry.chopped(1)) : TextListModel::data(index, role);
    switch (role) {
    case Qt::DisplayRole:
        return ShownListText(ShownBookName(NameOfEntry(entry)));
    case Qt::AccessibleTextRole:
        return {};
    case kProgressRole: {
        const Summary &summary = SummaryOf(index.row());
        return summary.record ? ProgressLabel(summary.record->progress) : QStringLiteral("新");
    }
    case kLastReadRole:
        return SummaryOf(index.row()).record.value_or(BookRecord{}).lastRead;
    case kSizeRole:
        return SummaryOf(index.row()).size;
    case kAddedRole:
        return SummaryOf(index.row()).added;
    case Qt::ToolTipRole:
        return ToolTipOf(SummaryOf(index.row()).record, SummaryOf(index.row()).size);
    default:
        return TextListModel::data(index, role);
    }
}

Qt::ItemFlags BookListModel::flags(const QModelIndex &index) const
{
    if (IsFolderEntry(Entry(index.row())))
        return Qt::ItemNeverHasChildren;
    return TextListModel::flags(index);
}

void BookListModel::SetBooks(const QStringList &entries)
{
    summaries_.clear();
    SetTexts(entries);
}

void BookListModel::UpdateBooks(const QStringList &entries)
{
    if (!TryUpdatingInPlace(entries))
        SetBooks(entries);
}

// One walk through both lists: a row whose entry is gone is removed, an entry
// that is new is inserted before the row standing after it.
bool BookListModel::TryUpdatingInPlace(const QStringList &entries)
{
    // Past this many changes one reset costs the views less.
    constexpr qsizetype kMostSteps = 256;
    const QSet<QString> wanted(entries.begin(), entries.end());
    qsizetype steps = 0;
    int row = 0;
    for (qsizetype next = 0; row < Count() || next < entries.size();) {
        if (steps > kMostSteps)
            return false;
        const QString rowEntry = Entry(row);
        if (row < Count() && !wanted.contains(rowEntry)) {
            summaries_.remove(rowEntry);
            RemoveText(row);
            ++steps;
        } else if (next < entries.size() && (row == Count() || ListedBefore(entries[next], rowEntry))) {
            InsertText(row++, entries[next++]);
            ++steps;
        } else if (next < entries.size() && rowEntry == entries[next]) {
            ++row;
            ++next;
        } else {
            return false;
        }
    }
    return true;
}

void BookListModel::SetFolder(const QString &folder)
{
    if (folder == folder_)
        return;
    folder_ = folder;
    summaries_.clear();
}

void BookListModel::SetRecordReader(RecordReader reader)
{
    records_ = std::move(reader);
    summaries_.clear();
}

void BookListModel::RefreshRow(int row)
{
    if (row < 0 || row >= Count())
        return;
    summaries_.remove(Entry(row));
    Q_EMIT dataChanged(index(row), index(row));
}

const BookListModel::Summary &BookListModel::SummaryOf(int row) const
{
    const QString entry = Entry(row);
    auto kept = summaries_.constFind(entry);
    if (kept != summaries_.constEnd())
        return *kept;
    Summary summary;
    if (records_)
        summary.record = records_(BookKey(folder_, entry));
    const BookFileFacts facts = FactsOf(folder_ + entry);
    summary.size = facts.size;
    summary.added = facts.added;
    return *summaries_.insert(entry, summary);
}
