#pragma once
// A chapter's text as the pane shows it under the paragraph rules (首行缩进,
// 空行), and where each character of the one stands in the other. The reader
// keeps places as positions in the text itself, so they hold whatever rules
// are chosen.
#include "core/Typography.h"

#include <QList>
#include <QString>

class ShapedText {
public:
    ShapedText() = default;
    // Shapes `text` (paragraphs end with LF, CR LF or CR). A line of nothing
    // but blanks (spaces, tabs, U+3000, no-break spaces) is a blank line;
    // any other line is a paragraph, whose leading blanks the indentation rule
    // replaces.
    ShapedText(const QString &text, Indentation indentation, BlankLines blankLines);

    const QString &Shown() const { return shown_; }
    // The shown position of a text position. A character that is not shown
    // is placed where the next shown one is: a paragraph's removed blanks at
    // the start of its shown line, a removed blank line at the next line.
    qsizetype ShownPosition(qsizetype textPosition) const;
    // The text position of a shown position. The start of a shown line, and
    // any indentation added there, stands for the start of that line in the
    // text, blanks included. So a place kept as a position finds the same
    // line under any rules: TextPosition(ShownPosition(p)) == p for any p
    // that TextPosition gave.
    qsizetype TextPosition(qsizetype shownPosition) const;

private:
    // One shown line (the whole text when no rule changes anything): where it
    // starts in the text and on screen, and the run of characters after its
    // removed or added indentation, shown as they are in the text.
    struct Line {
        qsizetype textStart = 0;
        qsizetype shownStart = 0;
        qsizetype text = 0;
        qsizetype shown = 0;
        qsizetype length = 0;
    };
    void ShapeLine(const QString &text, qsizetype start, qsizetype content, qsizetype end, Indentation indentation);

    QString shown_;
    QList<Line> lines_;
};
