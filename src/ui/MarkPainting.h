#pragma once
// Highlights painted behind the pane's text: each display line a mark covers
// filled with its colour before the text is drawn. Qt's own way, a selection
// per mark, clips and draws every line of a paragraph again for each mark on
// it, which a chapter with a few hundred highlights pays at every step; the
// look is the same.
#include <QColor>
#include <QList>
#include <QPointF>

class QPainter;
class QTextBlock;

// A stretch [start, end) of the document and its colour.
struct DocumentMark {
    int start = 0;
    int end = 0;
    QColor colour;
};

// Paints the marks that fall in the blocks from `first` on, laid out as a
// QPlainTextEdit lays them out: `first` drawn at `offset`, each next block
// below the one before, until a block starts below `bottom`.
void PaintMarks(QPainter &painter, const QTextBlock &first, QPointF offset, qreal bottom,
                const QList<DocumentMark> &marks);
