#pragma once
// The book list as the view shows it: the shelf's books (BookListModel)
// narrowed to the names that hold a filter text and put in the order the
// reader chose within each folder; the folders stay in the listed order, a
// folder's row shown while any of its books is. The shelf's own rows, which open books and which config.ini's
// 书 counts, stay in the listed order; map between the two with SourceRow and
// ShownRow.
#include <QSortFilterProxyModel>

class BookListModel;

// The orders the book list offers, as config.ini's 排序 keeps them.
enum class BookOrder {
    Name = 0,     // as listed (by name)
    LastRead = 1, // the place saved last first, books never read last
    Size = 2,     // the largest file first
    Added = 3,    // the file that came last first
};
// The order a kept number stands for; Name for a number that is none.
BookOrder BookOrderFrom(int number);

class ShownBooks : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit ShownBooks(QObject *parent = nullptr);

    // The books shown, in place of a source model set otherwise.
    void SetBooks(BookListModel *books);

    // Shows only the books whose shown names hold the text, Simplified and
    // Traditional characters alike and ASCII letters in either case (as find
    // matches); an empty text shows every book.
    void SetFilter(const QString &text);
    const QString &Filter() const { return filter_; }
    // The shelf's rows changed: a folder's row is shown again, or hidden,
    // as its books now match the filter.
    void Refilter();
    // Books that tie keep the listed order among themselves.
    void SetOrder(BookOrder order);
    BookOrder Order() const { return order_; }

    // The shelf's row of a shown row, and the shown row of a shelf's row;
    // -1 for a row that is none or not shown.
    int SourceRow(int shownRow) const;
    int ShownRow(int sourceRow) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    bool NameMatches(int sourceRow) const;

    BookListModel *books_ = nullptr;
    QString filter_;
    QStringList forms_;
    BookOrder order_ = BookOrder::Name;
};
