#include "EditBox.h"

#include "ColourRef.h"
#include "VirtualKey.h"

#include <QKeyEvent>
#include <QPlainTextDocumentLayout>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextLayout>

namespace {

// The scroll bar counts a block as one line until it has been laid out, so
// every line count goes through the block's own layout.
int LineCountOf(QPlainTextEdit *edit, const QTextBlock &block)
{
    auto *layout = qobject_cast<QPlainTextDocumentLayout *>(edit->document()->documentLayout());
    layout->ensureBlockLayout(block);
    return block.isVisible() ? qMax(1, block.layout()->lineCount()) : 0;
}

} // namespace

EditBox::EditBox(QWidget *parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    // Keep a keyboard caret so arrows, select-all and copy work as in any pane.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setUndoRedoEnabled(false);
}

QString EditBox::Text() const
{
    return toPlainText();
}

void EditBox::SetText(const QString &text)
{
    const QSignalBlocker blocker(this);
    setPlainText(text);
    // A new text starts at its top. With a line taller than the pane Qt leaves
    // it scrolled to the end, which throws a remembered line off.
    verticalScrollBar()->setValue(0);
}

QString EditBox::FontName() const
{
    return font().family();
}

void EditBox::SetFontName(const QString &name)
{
    QFont f = font();
    f.setFamilies({name});
    setFont(f);
}

int EditBox::FontSize() const
{
    return font().pointSize();
}

void EditBox::SetFontSize(int points)
{
    // The font dialog offers 1 to 512 points. Far beyond that the font engine
    // gives up and draws empty boxes; nothing below 1 can be drawn at all.
    constexpr int largestPoints = 512;
    if (points < 1)
        return;
    QFont f = font();
    f.setPointSize(qMin(points, largestPoints));
    setFont(f);
}

void EditBox::SetBold(bool on)
{
    QFont f = font();
    f.setBold(on);
    setFont(f);
}

void EditBox::SetItalic(bool on)
{
    QFont f = font();
    f.setItalic(on);
    setFont(f);
}

void EditBox::SetUnderline(bool on)
{
    QFont f = font();
    f.setUnderline(on);
    setFont(f);
}

void EditBox::SetStrikeOut(bool on)
{
    QFont f = font();
    f.setStrikeOut(on);
    setFont(f);
}

int EditBox::TextColour() const
{
    return ColourRefOf(palette().color(QPalette::Active, QPalette::Text));
}

void EditBox::SetTextColour(int colourRef)
{
    SetColourRole(QPalette::Text, colourRef);
}

int EditBox::BackgroundColour() const
{
    return ColourRefOf(palette().color(QPalette::Active, QPalette::Base));
}

void EditBox::SetBackgroundColour(int colourRef)
{
    SetColourRole(QPalette::Base, colourRef);
}

void EditBox::SetColourRole(QPalette::ColorRole role, int colourRef)
{
    QPalette p = palette();
    const QColor colour = ColourFromRef(colourRef);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, role, colour);
    setPalette(p);
}

int EditBox::FirstVisibleLine() const
{
    auto *self = const_cast<EditBox *>(this);
    const QTextBlock top = firstVisibleBlock();
    int lines = verticalScrollBar()->value() - top.firstLineNumber();
    for (QTextBlock b = document()->firstBlock(); b.isValid() && b != top; b = b.next())
        lines += LineCountOf(self, b);
    return qMax(0, lines);
}

void EditBox::ScrollLines(int lines)
{
    QTextBlock block = firstVisibleBlock();
    if (!block.isValid())
        return;
    qint64 line = qint64(verticalScrollBar()->value()) - block.firstLineNumber() + lines;
    int count = LineCountOf(this, block);
    while (line < 0 && block.previous().isValid()) {
        block = block.previous();
        count = LineCountOf(this, block);
        line += count;
    }
    while (line >= count && block.next().isValid()) {
        line -= count;
        block = block.next();
        count = LineCountOf(this, block);
    }
    verticalScrollBar()->setValue(block.firstLineNumber() + int(qBound<qint64>(0, line, qint64(count) - 1)));
}

int EditBox::FirstVisibleCharacter() const
{
    const QTextBlock top = firstVisibleBlock();
    if (!top.isValid())
        return 0;
    const int lineInBlock = verticalScrollBar()->value() - top.firstLineNumber();
    const QTextLayout *layout = top.layout();
    if (!layout || lineInBlock <= 0 || lineInBlock >= layout->lineCount())
        return top.position();
    return top.position() + layout->lineAt(lineInBlock).textStart();
}

void EditBox::ScrollToCharacter(int position)
{
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid())
        return;
    LineCountOf(this, block);
    const QTextLine line = block.layout()->lineForTextPosition(position - block.position());
    const int lineInBlock = line.isValid() ? line.lineNumber() : 0;
    verticalScrollBar()->setValue(block.firstLineNumber() + lineInBlock);
}

void EditBox::resizeEvent(QResizeEvent *event)
{
    // A width change throws away every block's line count and with it the
    // reader's place; put the same character back at the top.
    const int firstCharacter = FirstVisibleCharacter();
    QPlainTextEdit::resizeEvent(event);
    ScrollToCharacter(firstCharacter);
}

void EditBox::keyReleaseEvent(QKeyEvent *event)
{
    QPlainTextEdit::keyReleaseEvent(event);
    if (!event->isAutoRepeat())
        Q_EMIT keyReleased(VirtualKeyOf(event), int(event->modifiers()));
}
