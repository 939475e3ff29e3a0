#include "ui/ChoiceDelegate.h"

#include <QComboBox>

ChoiceDelegate::ChoiceDelegate(int choicesRole, QObject *parent)
    : QStyledItemDelegate(parent), choicesRole_(choicesRole)
{}

QWidget *ChoiceDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    auto *choices = new QComboBox(parent);
    choices->addItems(index.data(choicesRole_).toStringList());
    choices->setAccessibleName(index.model()->headerData(index.column(), Qt::Horizontal).toString());
    // Qt asks for the editor through a const function, yet the delegate is
    // the one to hand the choice over.
    auto *self = const_cast<ChoiceDelegate *>(this);
    connect(choices, &QComboBox::activated, self, [self, choices] { Q_EMIT self->commitData(choices); });
    return choices;
}

void ChoiceDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    static_cast<QComboBox *>(editor)->setCurrentIndex(index.data(Qt::EditRole).toInt());
}

void ChoiceDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    model->setData(index, static_cast<QComboBox *>(editor)->currentIndex(), Qt::EditRole);
}
