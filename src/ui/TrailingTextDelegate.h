#pragma once
// Paints a list item's text with a second, shorter text after it, greyed and
// kept at the item's right edge (a book's progress after its name): the model
// gives that text under `trailingRole`. The item's own text is cut short
// before it, never drawn under it. An item one cannot choose is a heading,
// drawn bold.
#include <QStyledItemDelegate>

class TrailingTextDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    TrailingTextDelegate(int trailingRole, QObject *parent);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    int trailingRole_;
};
