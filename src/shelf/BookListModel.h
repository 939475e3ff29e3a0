#pragma once
// The book list (列表框_文件) as a model: one row per book of the book folder,
// its file name, in the order the folder was listed.
#include "core/TextListModel.h"

class BookListModel : public TextListModel {
public:
    using TextListModel::TextListModel;

    // Replaces every row with these file names (none: an empty list).
    void SetBooks(const QStringList &fileNames) { SetTexts(fileNames); }
    // Adds these file names after the rows there are.
    void AddBooks(const QStringList &fileNames) { AppendTexts(fileNames); }
    // The file name of a row; empty for a row that is none.
    QString FileName(int row) const { return Text(row); }
};
