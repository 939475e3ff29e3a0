#pragma once
// The book list (列表框_文件) as a model: one row per entry of the book
// folder's library (core/BookLibrary.h), in the listed order: the folder's
// own books, then each subfolder's row followed by its books. A book's entry
// opens it and keys its record; it shows as its name (ShownBookName), a
// subfolder's row as the subfolder's path, neither selectable nor enabled.
// Each book's row also tells what the reader knows of it (its record's
// progress, chapter and last reading; the file's size and when it came),
// read the first time a view or a sort asks for it, so that a folder of
// thousands of books costs only the rows shown.
#include "core/BookRecord.h"
#include "core/TextListModel.h"

#include <QHash>

#include <functional>
#include <optional>

class BookListModel : public TextListModel {
    Q_OBJECT
public:
    // "新", "37.5 %" or "读完" (ProgressLabel): how far the book is read.
    static constexpr int kProgressRole = Qt::UserRole + 2;
    // Milliseconds since 1970 (UTC): the place last saved, 0 for never.
    static constexpr int kLastReadRole = Qt::UserRole + 3;
    // The file's size in bytes, 0 when it cannot be told.
    static constexpr int kSizeRole = Qt::UserRole + 4;
    // When the file came (BookFileFacts::added), 0 when it cannot be told.
    static constexpr int kAddedRole = Qt::UserRole + 5;
    // Reads a book's record by its key (core/BookKey.h); nullopt for none.
    using RecordReader = std::function<std::optional<BookRecord>(const QString &key)>;

    using TextListModel::TextListModel;

    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Replaces every row with these entries (none: an empty list).
    void SetBooks(const QStringList &entries);
    // Adds these entries after the rows there are.
    void AddBooks(const QStringList &entries) { AppendTexts(entries); }
    // Makes the rows these entries, both in the listed order (ListedBefore):
    // rows that stay keep their place in every view (selection, current
    // row), rows gone are removed and new ones inserted where they belong.
    void UpdateBooks(const QStringList &entries);
    // The entry of a row; empty for a row that is none.
    QString Entry(int row) const { return Text(row); }
    // The folder the books are in (with its separator at the end), which
    // keys their records and holds their files.
    void SetFolder(const QString &folder);
    // Where the records come from; without one every book reads as new.
    void SetRecordReader(RecordReader reader);
    // The row's record or file may have changed: it is read afresh when next
    // asked for, and the views are told. A row that is none is left alone.
    void RefreshRow(int row);

private:
    // Whether the rows are those entries with a few rows inserted and
    // removed; false where the orders differ.
    bool TryUpdatingInPlace(const QStringList &entries);

    struct Summary {
        std::optional<BookRecord> record;
        qint64 size = 0;
        qint64 added = 0;
    };
    const Summary &SummaryOf(int row) const;

    QString folder_;
    RecordReader records_;
    mutable QHash<QString, Summary> summaries_;
};
