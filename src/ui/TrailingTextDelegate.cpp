#include "ui/TrailingTextDelegate.h"

#include <QPainter>

namespace {

// Between the item's text and the trailing one, and after the trailing one.
constexpr int kGap = 4;

// Halfway between the text and the page: there, but quieter than the text.
QColor Greyed(const QColor &text, const QColor &page)
{
    return QColor((text.red() + page.red()) / 2, (text.green() + page.green()) / 2, (text.blue() + page.blue()) / 2);
}

} // namespace

TrailingTextDelegate::TrailingTextDelegate(int trailingRole, QObject *parent)
    : QStyledItemDelegate(parent), trailingRole_(trailingRole)
{}

// A row one cannot choose (a folder's, among books) is a heading: bold.
void TrailingTextDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!index.flags().testFlag(Qt::ItemIsEnabled))
        option->font.setBold(true);
}

void TrailingTextDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QString trailing = index.data(trailingRole_).toString();
    if (trailing.isEmpty())
        return QStyledItemDelegate::paint(painter, option, index);
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QColor text = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    const QColor page = option.palette.color(selected ? QPalette::Highlight : QPalette::Base);
    QRect trailingRect = option.rect;
    trailingRect.setLeft(option.rect.right() - option.fontMetrics.horizontalAdvance(trailing) - 2 * kGap);
    QStyleOptionViewItem nameOption = option;
    nameOption.rect.setRight(trailingRect.left() - 1);
    QStyledItemDelegate::paint(painter, nameOption, index);
    painter->save();
    painter->fillRect(trailingRect, page);
    painter->setPen(Greyed(text, page));
    painter->setFont(option.font);
    painter->drawText(trailingRect.adjusted(kGap, 0, -kGap, 0), Qt::AlignRight | Qt::AlignVCenter, trailing);
    painter->restore();
}
