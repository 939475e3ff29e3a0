#include "core/TextListModel.h"

int TextListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Count();
}

QVariant TextListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= Count())
        return {};
    const QString &text = texts_[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return ShownListText(text);
    case kFullTextRole:
        return text;
    case Qt::AccessibleTextRole:
        if (text.endsWith(u'\r') || text.endsWith(u'\n'))
            return ShownListText(text).trimmed();
        return {};
    default:
        return {};
    }
}

void TextListModel::SetTexts(const QStringList &texts)
{
    beginResetModel();
    texts_ = texts;
    endResetModel();
}

void TextListModel::AppendTexts(const QStringList &texts)
{
    if (texts.isEmpty())
        return;
    beginInsertRows(QModelIndex(), Count(), Count() + int(texts.size()) - 1);
    texts_ += texts;
    endInsertRows();
}

void TextListModel::InsertText(int row, const QString &text)
{
    beginInsertRows(QModelIndex(), row, row);
    texts_.insert(row, text);
    endInsertRows();
}

void TextListModel::RemoveText(int row)
{
    if (row < 0 || row >= Count())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    texts_.removeAt(row);
    endRemoveRows();
}

QString ShownListText(const QString &text)
{
    constexpr qsizetype kCut = TextListModel::kLongestShownText;
    if (text.size() <= kCut)
        return text;
    const qsizetype cut = text.at(kCut).isLowSurrogate() ? kCut - 1 : kCut;
    return text.first(cut) + QChar(0x2026); // …
}
