#include "ui/ListBox.h"

#include "ui/ColourRef.h"
#include "ui/VirtualKey.h"

#include <QKeyEvent>
#include <QMouseEvent>
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
    // A screen reader reads the title, not the line end kept with it.
    if (text.endsWith(u'\r') || text.endsWith(u'\n'))
        item->setData(Qt::AccessibleTextRole, ShownText(text).trimmed());
    return item;
}

// Part of the way from one colour to the other.
QColor Blend(const QColor &from, const QColor &to, double part)
{
    return QColor::fromRgbF(from.redF() + (to.redF() - from.redF()) * part,
                            from.greenF() + (to.greenF() - from.greenF()) * part,
                            from.blueF() + (to.blueF() - from.blueF()) * part);
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

void ListBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QListWidget::mousePressEvent(event);
}

void ListBox::keyReleaseEvent(QKeyEvent *event)
{
    QListWidget::keyReleaseEvent(event);
    if (!event->isAutoRepeat())
        Q_EMIT keyReleased(VirtualKeyOf(event), int(event->modifiers()));
}
