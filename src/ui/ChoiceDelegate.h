#pragma once
// Edits a table cell that takes one of a few choices with a drop-down list:
// the model gives the choices' labels under `choicesRole` and the index of
// the one taken under the edit role, and takes the index chosen back there.
// The choice is written as soon as it is made, not when the cell is left.
#include <QStyledItemDelegate>

class ChoiceDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    ChoiceDelegate(int choicesRole, QObject *parent);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

private:
    int choicesRole_;
};
