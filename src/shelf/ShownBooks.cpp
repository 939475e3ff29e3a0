#include "shelf/ShownBooks.h"

#include "core/BookLibrary.h"
#include "core/BookSearch.h"
#include "shelf/BookListModel.h"

BookOrder BookOrderFrom(int number)
{
    return number >= int(BookOrder::Name) && number <= int(BookOrder::Added) ? BookOrder(number) : BookOrder::Name;
}

ShownBooks::ShownBooks(QObject *parent) : QSortFilterProxyModel(parent)
{
    // A saved place re-sorts the list when the order goes by it.
    setDynamicSortFilter(true);
    sort(0);
}

void ShownBooks::SetBooks(BookListModel *books)
{
    books_ = books;
    setSourceModel(books);
}

void ShownBooks::SetFilter(const QString &text)
{
    if (text == filter_)
        return;
    filter_ = text;
    forms_ = text.isEmpty() ? QStringList() : SearchForms(text);
    invalidateFilter();
}

void ShownBooks::Refilter()
{
    if (!forms_.isEmpty())
        invalidateFilter();
}

void ShownBooks::SetOrder(BookOrder order)
{
    if (order == order_)
        return;
    order_ = order;
    invalidate();
}

int ShownBooks::SourceRow(int shownRow) const
{
    const QModelIndex source = mapToSource(index(shownRow, 0));
    return source.isValid() ? source.row() : -1;
}

int ShownBooks::ShownRow(int sourceRow) const
{
    if (!sourceModel())
        return -1;
    const QModelIndex shown = mapFromSource(sourceModel()->index(sourceRow, 0));
    return shown.isValid() ? shown.row() : -1;
}

// The kept name, not the shown one: the two differ only in bytes that are no
// UTF-8, which nobody types, and the shown one costs a conversion per row.
bool ShownBooks::NameMatches(int sourceRow) const
{
    const QString entry = books_->Entry(sourceRow);
    return HoldsAnyForm(QStringView(entry).sliced(FolderOfEntry(entry).size()), forms_);
}

// A folder's books follow its row, up to the next folder's.
bool ShownBooks::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    if (forms_.isEmpty())
        return true;
    if (!IsFolderEntry(books_->Entry(sourceRow)))
        return NameMatches(sourceRow);
    for (int row = sourceRow + 1; row < books_->Count(); ++row) {
        if (IsFolderEntry(books_->Entry(row)))
            return false;
        if (NameMatches(row))
            return true;
    }
    return false;
}

// Greater values first; ties, the name order, and rows of two folders go by
// the listed rows, where each folder's row stands before its books.
bool ShownBooks::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    if (order_ == BookOrder::Name)
        return left.row() < right.row();
    const QString leftEntry = books_->Entry(left.row());
    const QString rightEntry = books_->Entry(right.row());
    if (IsFolderEntry(leftEntry) || IsFolderEntry(rightEntry) || FolderOfEntry(leftEntry) != FolderOfEntry(rightEntry))
        return left.row() < right.row();
    int role = 0;
    switch (order_) {
    case BookOrder::Name:
        return left.row() < right.row();
    case BookOrder::LastRead:
        role = BookListModel::kLastReadRole;
        break;
    case BookOrder::Size:
        role = BookListModel::kSizeRole;
        break;
    case BookOrder::Added:
        role = BookListModel::kAddedRole;
        break;
    }
    const qint64 leftValue = left.data(role).toLongLong();
    const qint64 rightValue = right.data(role).toLongLong();
    return leftValue != rightValue ? leftValue > rightValue : left.row() < right.row();
}
