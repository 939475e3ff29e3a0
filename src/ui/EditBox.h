#pragma once
// The multi-line, read-only reading pane. Besides text, font and colours it
// sets the text by a Typography, and answers the two classic edit-control
// questions in wrapped display lines: which line is first visible, and
// "scroll down n lines". It reports every move of its first visible line
// (topLineChanged) and the user's acts that end reading aloud or scrolling
// on its own.
#include "core/Typography.h"
#include "ui/MarkPainting.h"
#include "ui/ShapedText.h"
#include "ui/ShownTextPositions.h"

#include <QPlainTextEdit>

#include <functional>

class PaneDocumentLayout;

class EditBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit EditBox(QWidget *parent = nullptr);

    // The text as shown: as given to SetText, under the paragraph rules of
    // the typography, line ends as the pane keeps them (LF).
    QString Text() const;
    void SetText(const QString &text);

    // 编辑本章: the pane shows `text` as it is, without the paragraph rules,
    // editable with a visible caret, its keys all the editor's own (no
    // keyReleased, no pagedPastText); positions as for SetText. EndEditing
    // makes it a read-only pane again, until the next SetText showing the
    // text it had.
    void BeginEditing(const QString &text);
    void EndEditing();
    bool IsEditing() const { return editing_; }
    // The text as edited, LF line ends, no-break spaces kept.
    QString EditedText() const;

    // The typography, every value brought into its range. A change keeps the
    // line at the top that holds the same text, and the text given to
    // SetText is shown again under the new paragraph rules.
    const Typography &TextTypography() const { return typography_; }
    void SetTextTypography(const Typography &typography);

    QString FontName() const;
    void SetFontName(const QString &name);
    // Point size, a whole number. Setting keeps sizes below 1 point from the
    // pane and caps larger ones at 512.
    int FontSize() const;
    void SetFontSize(int points);
    void SetBold(bool on);
    void SetItalic(bool on);
    void SetUnderline(bool on);
    void SetStrikeOut(bool on);

    // Colours as 0x00BBGGRR values.
    int TextColour() const;
    void SetTextColour(int colourRef);
    int BackgroundColour() const;
    void SetBackgroundColour(int colourRef);

    // 0-based number of the first visible display line (wrapped lines count).
    int FirstVisibleLine() const;
    // Scrolls by n display lines from the current top (negative: up), as far
    // as the text allows.
    void ScrollLines(int lines);
    // Smooth scrolling: slides the text up by `pixels` more; each time the
    // slide reaches the height of the top line, that line scrolls away.
    // Returns false, having slid nothing, once the text's last page is shown.
    bool SlideUp(qreal pixels);
    // SlideUp by that many lines of the font and line spacing; at the text's
    // end slidPastEnd follows instead.
    void SlideUpLines(double lines);
    // Puts a slide back, the text where its top line stands.
    void StopSliding();
    // Shows the start of the text, or its last page.
    void ScrollToTop();
    void ScrollToEnd();

    // Positions in the text as given to SetText (a CR LF counts two), under
    // any typography.
    // Selects `length` characters from `position` and brings them into view.
    void SelectText(qsizetype position, qsizetype length);
    // Where the first visible display line starts.
    qsizetype FirstVisibleTextPosition() const;
    // Scrolls so that the display line holding `position` is the first one.
    void ScrollToTextPosition(qsizetype position);
    // Marks `length` characters from `position` in the selection's colours
    // without selecting them (what is copied stays as it was). When the mark
    // is not wholly in view, its first line is scrolled to the top. A length
    // of 0 removes the mark.
    void HighlightText(qsizetype position, qsizetype length);
    // A stretch marked behind the text in a colour of its own (a highlight).
    struct Mark {
        qsizetype position = 0;
        qsizetype length = 0;
        QColor colour;
    };
    // Marks those stretches, under HighlightText's mark, until a new text
    // (SetText, BeginEditing) clears them; new typography keeps them.
    void SetMarks(const QList<Mark> &marks);
    // The selection as positions in the text: start and end, equal for none.
    std::pair<qsizetype, qsizetype> SelectedRange() const;
    // The position of the character at `point` of the viewport.
    qsizetype TextPositionAt(QPoint point) const;

Q_SIGNALS:
    void keyReleased(int virtualKey, int modifiers);
    // A paging key (Space or Page Down: +1; Shift+Space or Page Up: -1) was
    // pressed with the text already at its end (+1) or its start (-1). Within
    // the text those keys page as usual, and Home and End go to its ends.
    void pagedPastText(int direction);
    void typographyChanged();
    // The first visible display line is another one, or starts elsewhere
    // in the text (a new text, font, width or typography): its number, and
    // where it starts in the text as given to SetText.
    void topLineChanged(int line, qsizetype position);
    // SlideUpLines found the text's last page shown.
    void slidPastEnd();
    // The user's acts: a key pressed (a modifier alone is none, it may begin
    // a shortcut), a click, a turn of the wheel, the scroll bar dragged or
    // clicked. And the pane was hidden (the window with it).
    void userPressedKey();
    void userClicked();
    void userTurnedWheel();
    void userMovedScrollBar();
    void hidden();

protected:
    QMimeData *createMimeDataFromSelection() const override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    // The marks behind the text, then the text.
    void paintEvent(QPaintEvent *event) override;

private:
    // Puts the text given to SetText into the document as the paragraph
    // rules shape it, paragraphs too long to lay out quickly split into
    // several blocks.
    void FillDocument();
    // Line and paragraph spacing, justification, and the margins that leave
    // the page margins and centre the column, for the font and width now.
    void ApplySpacing();
    void ApplyJustification();
    void UpdateMargins();
    qreal ColumnWidth() const;
    // How far the text moves when the top line scrolls away.
    qreal TopLinePitch() const;
    // The text from one document position to another, without the breaks
    // that only split long paragraphs for display.
    QString TextBetween(int from, int to) const;
    // Character position at the start of the first visible display line.
    int FirstVisibleCharacter() const;
    void ScrollToCharacter(int position);
    void Page(int direction);
    // topLineChanged, when the top line is not the one last reported.
    void ReportTopLine();
    void SetColourRole(QPalette::ColorRole role, int colourRef);
    void ChangeFont(const std::function<void(QFont &)> &change);
    // The stretch [start, end) of the document that `length` characters
    // from `position` of the text fill.
    std::pair<int, int> DocumentRange(qsizetype position, qsizetype length) const;
    // The marks and HighlightText's mark into the document.
    void ShowMarks();
    // A new text has none.
    void ClearMarks();

    QString text_;
    Typography typography_;
    qreal slide_ = 0;
    ShapedText shaped_;
    ShownTextPositions positions_;
    PaneDocumentLayout *layout_;
    int reportedLine_ = -1;
    qsizetype reportedPosition_ = -1;
    bool editing_ = false;
    QList<Mark> marks_;
    // marks_ in the document, as painted.
    QList<DocumentMark> painted_;
    // HighlightText's mark; a length of 0 for none.
    std::pair<qsizetype, qsizetype> aloudMark_;
};
