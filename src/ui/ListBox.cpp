#include "ui/ListBox.h"

#include "core/TextListModel.h"
#include "ui/ColourRef.h"
#include "ui/VirtualKey.h"

#include <QAbstractProxyModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace {

// Part of the way from one colour to the other.
QColor Blend(const QColor &from, const QColor &to, double part)
{
    return QColor::fromRgbF(from.redF() + (to.redF() - from.redF()) * part,
                            from.greenF() + (to.greenF() - from.greenF()) * part,
                            from.blueF() + (to.blueF() - from.blueF()) * part);
}

} // namespace

ListBox::ListBox(QWidget *parent) : QListView(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Chapter lists run to tens of thousands of items: skip per-item measuring.
    setUniformItemSizes(true);
}

void ListBox::SetModel(TextListModel *model, QAbstractProxyModel *shown)
{
    rows_ = model;
    shown_ = shown;
    setModel(shown ? static_cast<QAbstractItemModel *>(shown) : model);
}

int ListBox::Count() const
{
    return rows_ ? rows_->rowCount() : 0;
}

QString ListBox::ItemText(int index) const
{
    if (index < 0 || index >= Count())
        return QString();
    return rows_->Text(index);
}

int ListBox::Selection() const
{
    return RowOf(currentIndex());
}

void ListBox::SetSelection(int index)
{
    const QSignalBlocker blocker(this);
    const QModelIndex shown = ShownIndex(index);
    if (!shown.isValid()) {
        setCurrentIndex(QModelIndex());
        clearSelection();
        return;
    }
    setCurrentIndex(shown);
}

QModelIndex ListBox::ShownIndex(int row) const
{
    if (row < 0 || row >= Count())
        return {};
    const QModelIndex item = rows_->index(row, 0);
    return shown_ ? shown_->mapFromSource(item) : item;
}

int ListBox::RowOf(const QModelIndex &shown) const
{
    const QModelIndex item = shown_ && shown.isValid() ? shown_->mapToSource(shown) : shown;
    return item.isValid() ? item.row() : -1;
}

void ListBox::SetColours(int textColour, int backgroundColour)
{
    constexpr double kSelectionShade = 0.3;
    const QColor text = ColourFromRef(textColour);
    const QColor background = ColourFromRef(backgroundColour);
    QPalette p = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Text, text);
        p.setColor(group, QPalette::Base, background);
        p.setColor(group, QPalette::Highlight, Blend(background, text, kSelectionShade));
        p.setColor(group, QPalette::HighlightedText, text);
    }
    setPalette(p);
}

void ListBox::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QListView::currentChanged(current, previous);
    if (userActing_)
        Q_EMIT userSelectionChanged(RowOf(current));
}

template <typename Handling>
void ListBox::AsUser(Handling handling)
{
    const bool before = std::exchange(userActing_, true);
    handling();
    userActing_ = before;
}

void ListBox::keyPressEvent(QKeyEvent *event)
{
    AsUser([&] { QListView::keyPressEvent(event); });
}

void ListBox::focusInEvent(QFocusEvent *event)
{
    AsUser([&] { QListView::focusInEvent(event); });
}

void ListBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    AsUser([&] { QListView::mousePressEvent(event); });
}

void ListBox::mouseMoveEvent(QMouseEvent *event)
{
    AsUser([&] { QListView::mouseMoveEvent(event); });
}

void ListBox::mouseReleaseEvent(QMouseEvent *event)
{
    AsUser([&] { QListView::mouseReleaseEvent(event); });
}

void ListBox::keyReleaseEvent(QKeyEvent *event)
{
    QListView::keyReleaseEvent(event);
    if (!event->isAutoRepeat())
        Q_EMIT keyReleased(VirtualKeyOf(event), int(event->modifiers()));
}
