#include "shelf/BookListModel.h"

#include "core/BookFileFacts.h"
#include "core/BookFileName.h"
#include "core/BookKey.h"

#include <QDateTime>
#include <QLocale>

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
    switch (role) {
    case Qt::DisplayRole:
        return ShownListText(ShownBookName(FileName(index.row())));
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

void BookListModel::SetBooks(const QStringList &fileNames)
{
    summaries_.clear();
    SetTexts(fileNames);
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
    summaries_.remove(FileName(row));
    Q_EMIT dataChanged(index(row), index(row));
}

const BookListModel::Summary &BookListModel::SummaryOf(int row) const
{
    const QString fileName = FileName(row);
    auto kept = summaries_.constFind(fileName);
    if (kept != summaries_.constEnd())
        return *kept;
    Summary summary;
    if (records_)
        summary.record = records_(BookKey(folder_, fileName));
    const BookFileFacts facts = FactsOf(folder_ + fileName);
    summary.size = facts.size;
    summary.added = facts.added;
    return *summaries_.insert(fileName, summary);
}
