#include "ui/ListBox.h"

#include "ui/VirtualKey.h"

#include <QKeyEvent>
#include <QSignalBlocker>

namespace {
// The whole text of an item whose shown text is shortened.
const int kFullTextRole = Qt::UserRole + 1;
// Drawing an item measures all of its text: a heading line of millions of
// characters (a book without line feeds) took seconds for every repaint of the
// list. No list is nearly this wide, so longer texts are shown cut here.
constexpr qsizetype kLongestShownText = 200;

QString ShownText(const QString &text)
{
    if (text.size() <= kLongestShownText)
        return text;
    const qsizetype cut = text.at(kLongestShownText).isLowSurrogate() ? kLongestShownText - 1 : kLongestShownText;
    return text.first(cut) + QChar(0x2026); // …
}

QListWidgetItem *NewItem(const QString &text)
{
    auto *item = new QListWidgetItem(ShownText(text));
    if (text.size() > kLongestShownText)
        item->setData(kFullTextRole, text);
    return item;
}
} // namespace

ListBox::ListBox(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    // Chapter lists run to tens of thousands of items: skip per-item measuring.
    setUniformItemSizes(true);
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) { Q_EMIT userSelectionChanged(row); });
}

int ListBox::Count() const
{
    return count();
}

QString ListBox::ItemText(int index) const
{
    const QListWidgetItem *it = item(index);
    if (!it)
        return QString();
    const QVariant fullText = it->data(kFullTextRole);
    return fullText.isValid() ? fullText.toString() : it->text();
}

void ListBox::AddItem(const QString &text)
{
    const QSignalBlocker blocker(this);
    addItem(NewItem(text));
}

void ListBox::SetItems(const QStringList &texts)
{
    const QSignalBlocker blocker(this);
    // One repaint for the whole list, not one per item.
    setUpdatesEnabled(false);
    clear();
    for (const QString &text : texts)
        addItem(NewItem(text));
    setUpdatesEnabled(true);
}

void ListBox::DeleteItem(int index)
{
    if (index < 0 || index >= count())
        return;
    const QSignalBlocker blocker(this);
    delete takeItem(index);
}

void ListBox::DeleteAll()
{
    const QSignalBlocker blocker(this);
    clear();
}

int ListBox::Selection() const
{
    return currentRow();
}

void ListBox::SetSelection(int index)
{
    const QSignalBlocker blocker(this);
    if (index < 0 || index >= count()) {
        setCurrentRow(-1);
        clearSelection();
        return;
    }
    setCurrentRow(index);
}

void ListBox::keyReleaseEvent(QKeyEvent *event)
{
    QListWidget::keyReleaseEvent(event);
    if (!event->isAutoRepeat())
        Q_EMIT keyReleased(VirtualKeyOf(event), int(event->modifiers()));
}
