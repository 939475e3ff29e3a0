#include "ui/EditBox.h"

#include "ui/ColourRef.h"
#include "ui/PaneDocumentLayout.h"
#include "ui/VirtualKey.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextDocumentLayout>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <cmath>

namespace {

// Qt lays out and paints a paragraph as one piece: a paragraph of millions of
// characters (a book without line feeds) took seconds to show and most of a
// second for every repaint. Longer paragraphs are therefore shown as several
// blocks of at most this many characters; the extra breaks are only shown.
constexpr qsizetype kLongestShownBlock = 10000;
// How far back from that limit a place where the line could wrap anyway is
// looked for, so the extra break does not split a word or go before a comma.
constexpr qsizetype kBreakLookBack = 200;
constexpr int kContinuesParagraph = PaneDocumentLayout::kContinuesParagraph;
// The character a column's width is counted in.
constexpr QChar kFullWidthCharacter = QChar(0x4E2D);

bool IsModifierKey(int key)
{
    return key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Alt || key == Qt::Key_AltGr
        || key == Qt::Key_Meta || key == Qt::Key_Super_L || key == Qt::Key_Super_R;
}

bool EndsParagraph(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator;
}

// Where a shown block that must end by `limit` ends: after the last place
// before it where a line may break, or at the limit itself (never between the
// two halves of a surrogate pair) when there is none nearby.
qsizetype ShownBlockEnd(QStringView text, qsizetype limit)
{
    const qsizetype from = limit - kBreakLookBack;
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text.sliced(from, kBreakLookBack));
    breaks.setPosition(kBreakLookBack);
    const qsizetype previous = breaks.toPreviousBoundary();
    if (previous > 0)
        return from + previous;
    return text.at(limit).isLowSurrogate() ? limit - 1 : limit;
}

// The positions in `text` where a paragraph longer than kLongestShownBlock is
// broken for display, in order.
QList<qsizetype> ShownBreaks(QStringView text)
{
    QList<qsizetype> cuts;
    qsizetype blockStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (EndsParagraph(text[i]))
            blockStart = i + 1;
        else if (i - blockStart == kLongestShownBlock) {
            blockStart = ShownBlockEnd(text, i);
            cuts.append(blockStart);
        }
    }
    return cuts;
}

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
    auto *page = new QTextDocument(this);
    layout_ = new PaneDocumentLayout(page);
    page->setDocumentLayout(layout_);
    setDocument(page);
    // The margins around the page take the page's colour.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setReadOnly(true);
    // Keep a keyboard caret so arrows, select-all and copy work as in any
    // pane, but an invisible one: nobody types here, and a blinking caret
    // only distracts the reader.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setCursorWidth(0);
    setTabChangesFocus(true);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setUndoRedoEnabled(false);
    // Qt scrolls by itself with the scroll bar's signals blocked (bringing the
    // caret into view) and tells only through updateRequest; our own and the
    // user's scrolling goes through the scroll bar's value.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &EditBox::ReportTopLine);
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect &, int dy) {
        if (dy != 0)
            ReportTopLine();
    });
    // The scroll bar tells the user's drags, clicks and wheel turns as
    // actions; scrolling from code is none.
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, &EditBox::userMovedScrollBar);
}

void EditBox::ReportTopLine()
{
    if (signalsBlocked())
        return;
    const int line = FirstVisibleLine();
    const qsizetype position = FirstVisibleTextPosition();
    if (line == reportedLine_ && position == reportedPosition_)
        return;
    reportedLine_ = line;
    reportedPosition_ = position;
    Q_EMIT topLineChanged(line, position);
}

QString EditBox::Text() const
{
    return TextBetween(0, document()->characterCount() - 1);
}

void EditBox::SetText(const QString &text)
{
    {
        const QSignalBlocker blocker(this);
        text_ = text;
        ClearMarks();
        // Only a slide needs its margins put back; a chapter change is a hot path.
        if (slide_ != 0)
            StopSliding();
        FillDocument();
        // A new text starts at its top. With a line taller than the pane Qt
        // leaves it scrolled to the end, which throws a remembered line off.
        verticalScrollBar()->setValue(0);
    }
    // Another text: its top is another place, even at the same numbers.
    reportedLine_ = -1;
    ReportTopLine();
}

void EditBox::BeginEditing(const QString &text)
{
    {
        const QSignalBlocker blocker(this);
        editing_ = true;
        text_ = text;
        ClearMarks();
        // No display breaks either: the document must give back what it holds.
        shaped_ = ShapedText(text, Indentation::AsInFile, BlankLines::Keep);
        positions_ = ShownTextPositions(text, {});
        setPlainText(text);
        setReadOnly(false);
        setTextInteractionFlags(Qt::TextEditorInteraction);
        setCursorWidth(1);
        setUndoRedoEnabled(true);
    }
    reportedLine_ = -1;
    ReportTopLine();
}

void EditBox::EndEditing()
{
    editing_ = false;
    setUndoRedoEnabled(false);
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setCursorWidth(0);
}

QString EditBox::EditedText() const
{
    return document()->toRawText().replace(QChar::ParagraphSeparator, u'\n');
}

void EditBox::SetTextTypography(const Typography &typography)
{
    const Typography wanted = WithinRanges(typography);
    if (wanted == typography_)
        return;
    const qsizetype top = FirstVisibleTextPosition();
    const bool reshape = wanted.indentation != typography_.indentation || wanted.blankLines != typography_.blankLines;
    typography_ = wanted;
    // The document's options and width first, so that a new text is laid
    // out once, under them.
    ApplySpacing();
    ApplyJustification();
    UpdateMargins();
    if (reshape && !editing_) {
        const QSignalBlocker blocker(this);
        FillDocument();
        ShowMarks();
    }
    ScrollToTextPosition(top);
    ReportTopLine();
    Q_EMIT typographyChanged();
}

void EditBox::ApplySpacing()
{
    layout_->SetSpacing(typography_.lineSpacing, typography_.paragraphSpacing * QFontMetricsF(font()).lineSpacing());
}

void EditBox::ApplyJustification()
{
    QTextOption option = document()->defaultTextOption();
    const Qt::Alignment alignment = typography_.justify ? Qt::AlignJustify : Qt::AlignLeft;
    if (option.alignment() == alignment)
        return;
    option.setAlignment(alignment);
    document()->setDefaultTextOption(option);
}

qreal EditBox::ColumnWidth() const
{
    // A pixel to spare, so that rounding never pushes the last character of
    // a full line to the next.
    return typography_.columnCharacters * QFontMetricsF(font()).horizontalAdvance(kFullWidthCharacter)
        + 2 * document()->documentMargin() + 1;
}

void EditBox::UpdateMargins()
{
    const QMargins now = viewportMargins();
    int left = typography_.sideMargin;
    int right = left;
    if (typography_.columnCharacters > 0) {
        const int room = viewport()->width() + now.left() + now.right();
        const int spare = room - int(std::ceil(ColumnWidth()));
        if (spare > left + right) {
            left = spare / 2;
            right = spare - left;
        }
    }
    // A slide moves the page up within its margins, over the top one.
    const int slide = int(slide_);
    const QMargins wanted(left, typography_.topMargin - slide, right, typography_.topMargin + slide);
    if (wanted != now)
        setViewportMargins(wanted);
}

void EditBox::FillDocument()
{
    shaped_ = ShapedText(text_, typography_.indentation, typography_.blankLines);
    const QString &text = shaped_.Shown();
    const QList<qsizetype> cuts = ShownBreaks(text);
    positions_ = ShownTextPositions(text, cuts);
    if (cuts.isEmpty()) {
        setPlainText(text);
        return;
    }
    setPlainText(text.first(cuts.first()));
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.beginEditBlock();
    QList<int> continuations;
    for (qsizetype i = 0; i < cuts.size(); ++i) {
        end.insertBlock();
        continuations.append(end.position());
        const qsizetype pieceEnd = i + 1 < cuts.size() ? cuts[i + 1] : text.size();
        end.insertText(text.sliced(cuts[i], pieceEnd - cuts[i]));
    }
    end.endEditBlock();
    for (int position : continuations)
        document()->findBlock(position).setUserState(kContinuesParagraph);
}

QString EditBox::TextBetween(int from, int to) const
{
    QString plain = toPlainText();
    QString text;
    int copiedUpTo = from;
    for (QTextBlock b = document()->findBlock(from); b.isValid() && b.position() <= to; b = b.next()) {
        if (b.userState() != kContinuesParagraph || b.position() <= from)
            continue;
        text += QStringView(plain).sliced(copiedUpTo, b.position() - 1 - copiedUpTo);
        copiedUpTo = b.position();
    }
    if (copiedUpTo == 0 && to == plain.size())
        return plain;
    text += QStringView(plain).sliced(copiedUpTo, to - copiedUpTo);
    return text;
}

QMimeData *EditBox::createMimeDataFromSelection() const
{
    // A copy holds the text as it is, without the breaks added for display.
    const QTextCursor selection = textCursor();
    auto *data = new QMimeData;
    data->setText(TextBetween(selection.selectionStart(), selection.selectionEnd()));
    return data;
}

QString EditBox::FontName() const
{
    return font().family();
}

void EditBox::SetFontName(const QString &name)
{
    ChangeFont([&name](QFont &f) { f.setFamilies({name}); });
}

int EditBox::FontSize() const
{
    return font().pointSize();
}

void EditBox::SetFontSize(int points)
{
    // The font dialog offers 1 to 512 points. Far beyond that the font engine
    // gives up and draws empty boxes; nothing below 1 can be drawn at all.
    static constexpr int kLargestPoints = 512;
    if (points < 1)
        return;
    ChangeFont([points](QFont &f) { f.setPointSize(qMin(points, kLargestPoints)); });
}

void EditBox::SetBold(bool on)
{
    ChangeFont([on](QFont &f) { f.setBold(on); });
}

void EditBox::SetItalic(bool on)
{
    ChangeFont([on](QFont &f) { f.setItalic(on); });
}

void EditBox::SetUnderline(bool on)
{
    ChangeFont([on](QFont &f) { f.setUnderline(on); });
}

void EditBox::SetStrikeOut(bool on)
{
    ChangeFont([on](QFont &f) { f.setStrikeOut(on); });
}

void EditBox::ChangeFont(const std::function<void(QFont &)> &change)
{
    QFont f = font();
    change(f);
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
    ReportTopLine();
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
    ReportTopLine();
}

void EditBox::resizeEvent(QResizeEvent *event)
{
    // A width change throws away every block's line count and with it the
    // reader's place; put the same character back at the top.
    const int firstCharacter = FirstVisibleCharacter();
    QPlainTextEdit::resizeEvent(event);
    UpdateMargins();
    ScrollToCharacter(firstCharacter);
    ReportTopLine();
}

void EditBox::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    // Spacing after paragraphs and the column are measured in the font.
    if (event->type() == QEvent::FontChange) {
        ApplySpacing();
        UpdateMargins();
        ReportTopLine();
    }
}

void EditBox::mousePressEvent(QMouseEvent *event)
{
    Q_EMIT userClicked();
    QPlainTextEdit::mousePressEvent(event);
}

void EditBox::wheelEvent(QWheelEvent *event)
{
    Q_EMIT userTurnedWheel();
    QPlainTextEdit::wheelEvent(event);
}

void EditBox::hideEvent(QHideEvent *event)
{
    Q_EMIT hidden();
    QPlainTextEdit::hideEvent(event);
}

bool EditBox::SlideUp(qreal pixels)
{
    const QScrollBar *bar = verticalScrollBar();
    if (bar->value() >= bar->maximum()) {
        StopSliding();
        return false;
    }
    slide_ += pixels;
    for (qreal pitch = TopLinePitch(); pitch > 0 && slide_ >= pitch; pitch = TopLinePitch()) {
        slide_ -= pitch;
        ScrollLines(1);
        if (bar->value() >= bar->maximum())
            slide_ = 0;
    }
    UpdateMargins();
    return true;
}

void EditBox::SlideUpLines(double lines)
{
    const qreal lineHeight = QFontMetricsF(font()).lineSpacing() * typography_.lineSpacing;
    if (!SlideUp(lines * lineHeight))
        Q_EMIT slidPastEnd();
}

void EditBox::StopSliding()
{
    slide_ = 0;
    UpdateMargins();
}

qreal EditBox::TopLinePitch() const
{
    const int first = FirstVisibleCharacter();
    const QTextBlock block = document()->findBlock(first);
    if (!block.isValid() || !block.layout())
        return 0;
    const QTextLine line = block.layout()->lineForTextPosition(first - block.position());
    int next = block.next().isValid() ? block.next().position() : -1;
    if (line.isValid() && line.lineNumber() + 1 < block.layout()->lineCount())
        next = block.position() + block.layout()->lineAt(line.lineNumber() + 1).textStart();
    if (next < 0)
        return 0;
    QTextCursor cursor(document());
    cursor.setPosition(first);
    const int top = cursorRect(cursor).top();
    cursor.setPosition(next);
    return cursorRect(cursor).top() - top;
}

void EditBox::ScrollToTop()
{
    moveCursor(QTextCursor::Start);
    verticalScrollBar()->setValue(0);
    ReportTopLine();
}

void EditBox::ScrollToEnd()
{
    // Through the caret: making it visible lays out the last lines first,
    // which the scroll bar's range does not count until they are shown; then
    // as far down as the range now goes.
    moveCursor(QTextCursor::End);
    ensureCursorVisible();
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    ReportTopLine();
}

void EditBox::SelectText(qsizetype position, qsizetype length)
{
    QTextCursor selection(document());
    selection.setPosition(int(positions_.DocumentPosition(shaped_.ShownPosition(position))));
    selection.setPosition(int(positions_.DocumentPosition(shaped_.ShownPosition(position + length))),
                          QTextCursor::KeepAnchor);
    setTextCursor(selection);
    centerCursor();
    ReportTopLine();
}

qsizetype EditBox::FirstVisibleTextPosition() const
{
    return shaped_.TextPosition(positions_.TextPosition(FirstVisibleCharacter()));
}

void EditBox::ScrollToTextPosition(qsizetype position)
{
    ScrollToCharacter(int(positions_.DocumentPosition(shaped_.ShownPosition(position))));
}

void EditBox::HighlightText(qsizetype position, qsizetype length)
{
    aloudMark_ = {position, qMax(length, qsizetype(0))};
    ShowMarks();
    if (length <= 0)
        return;
    const int start = int(positions_.DocumentPosition(shaped_.ShownPosition(position)));
    const int end = int(positions_.DocumentPosition(shaped_.ShownPosition(position + length)));
    QTextCursor first(document());
    first.setPosition(start);
    QTextCursor last(document());
    last.setPosition(end);
    if (cursorRect(first).top() < 0 || cursorRect(last).bottom() > viewport()->height())
        ScrollToCharacter(start);
}

void EditBox::SetMarks(const QList<Mark> &marks)
{
    marks_ = marks;
    ShowMarks();
}

std::pair<int, int> EditBox::DocumentRange(qsizetype position, qsizetype length) const
{
    // A stale stretch never reaches past the document.
    const qsizetype last = document()->characterCount() - 1;
    const auto documentPosition = [this, last](qsizetype at) {
        return int(qMin(positions_.DocumentPosition(shaped_.ShownPosition(at)), last));
    };
    return {documentPosition(position), documentPosition(position + length)};
}

void EditBox::ShowMarks()
{
    painted_.clear();
    for (const Mark &mark : std::as_const(marks_)) {
        const auto [start, end] = DocumentRange(mark.position, mark.length);
        painted_.append({start, end, mark.colour});
    }
    QList<QTextEdit::ExtraSelection> selections;
    if (const auto [position, length] = aloudMark_; length > 0) {
        const auto [start, end] = DocumentRange(position, length);
        QTextEdit::ExtraSelection mark{QTextCursor(document()), {}};
        mark.cursor.setPosition(start);
        mark.cursor.setPosition(end, QTextCursor::KeepAnchor);
        mark.format.setBackground(palette().highlight());
        mark.format.setForeground(palette().highlightedText());
        selections.append(mark);
    }
    setExtraSelections(selections);
    viewport()->update();
}

void EditBox::ClearMarks()
{
    marks_.clear();
    painted_.clear();
    aloudMark_ = {};
}

void EditBox::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(viewport());
        PaintMarks(painter, firstVisibleBlock(), contentOffset(), viewport()->height(), painted_);
    }
    QPlainTextEdit::paintEvent(event);
}

std::pair<qsizetype, qsizetype> EditBox::SelectedRange() const
{
    const QTextCursor cursor = textCursor();
    const auto textPosition = [this](int at) { return shaped_.TextPosition(positions_.TextPosition(at)); };
    return {textPosition(cursor.selectionStart()), textPosition(cursor.selectionEnd())};
}

qsizetype EditBox::TextPositionAt(QPoint point) const
{
    return shaped_.TextPosition(positions_.TextPosition(cursorForPosition(point).position()));
}

void EditBox::Page(int direction)
{
    QScrollBar *bar = verticalScrollBar();
    if (direction > 0 ? bar->value() >= bar->maximum() : bar->value() <= bar->minimum()) {
        Q_EMIT pagedPastText(direction);
        return;
    }
    bar->triggerAction(direction > 0 ? QAbstractSlider::SliderPageStepAdd : QAbstractSlider::SliderPageStepSub);
}

void EditBox::keyPressEvent(QKeyEvent *event)
{
    if (!IsModifierKey(event->key()))
        Q_EMIT userPressedKey();
    // Editing, every key is the editor's: Space types a blank.
    if (editing_) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool space = event->key() == Qt::Key_Space;
    if (event->key() == Qt::Key_PageDown || (space && modifiers == Qt::NoModifier))
        Page(1);
    else if (event->key() == Qt::Key_PageUp || (space && modifiers == Qt::ShiftModifier))
        Page(-1);
    else if (event->key() == Qt::Key_Home && !(modifiers & Qt::ShiftModifier))
        ScrollToTop();
    else if (event->key() == Qt::Key_End && !(modifiers & Qt::ShiftModifier))
        ScrollToEnd();
    else
        QPlainTextEdit::keyPressEvent(event);
}

void EditBox::keyReleaseEvent(QKeyEvent *event)
{
    QPlainTextEdit::keyReleaseEvent(event);
    if (!event->isAutoRepeat() && !editing_)
        Q_EMIT keyReleased(VirtualKeyOf(event), int(event->modifiers()));
}
