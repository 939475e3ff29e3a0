#pragma once
// The book list (列表框_文件) as a model: one row per book of the book folder,
// in the order the folder was listed. A row holds the book's kept name
// (core/BookFileName.h), which opens it and keys its record, and shows it as
// ShownBookName does.
#include "core/TextListModel.h"

class BookListModel : public TextListModel {
public:
    using TextListModel::TextListModel;

    QVariant data(const QModelIndex &index, int role) const override;

    // Replaces every row with these kept names (none: an empty list).
    void SetBooks(const QStringList &fileNames) { SetTexts(fileNames); }
    // Adds these kept names after the rows there are.
    void AddBooks(const QStringList &fileNames) { AppendTexts(fileNames); }
    // The kept name of a row; empty for a row that is none.
    QString FileName(int row) const { return Text(row); }
};
