#include "shelf/BookListModel.h"

#include "core/BookFileName.h"

// A kept name shows no control character, so it needs no text of its own for
// a screen reader.
QVariant BookListModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::DisplayRole && index.isValid() && index.row() < Count())
        return ShownListText(ShownBookName(FileName(index.row())));
    if (role == Qt::AccessibleTextRole)
        return {};
    return TextListModel::data(index, role);
}
