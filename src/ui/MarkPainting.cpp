#include "ui/MarkPainting.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cmath>

namespace {

// The part of the display line that the block's characters [from, to) take,
// as tall as the line's text (as Qt draws a selection); empty for none.
QRectF LinePart(const QTextLine &line, int from, int to)
{
    const int start = qMax(from, line.textStart());
    const int end = qMin(to, line.textStart() + line.textLength());
    if (end <= start)
        return {};
    const qreal left = line.cursorToX(start);
    const qreal right = line.cursorToX(end);
    QRectF part = line.naturalTextRect();
    part.setLeft(qMin(left, right));
    part.setRight(qMax(left, right));
    return part;
}

void PaintBlockMarks(QPainter &painter, const QTextBlock &block, QPointF origin, const QList<DocumentMark> &marks)
{
    const QTextLayout *layout = block.layout();
    const QPointF position = origin + layout->position();
    for (const DocumentMark &mark : marks) {
        const int from = mark.start - block.position();
        const int to = mark.end - block.position();
        if (to <= 0 || from >= block.length())
            continue;
        for (int i = 0; i < layout->lineCount(); ++i) {
            QRectF part = LinePart(layout->lineAt(i), from, to).translated(position);
            part.setBottom(std::ceil(part.bottom()));
            if (!part.isEmpty())
                painter.fillRect(part, mark.colour);
        }
    }
}

} // namespace

void PaintMarks(QPainter &painter, const QTextBlock &first, QPointF offset, qreal bottom,
                const QList<DocumentMark> &marks)
{
    if (marks.isEmpty())
        return;
    for (QTextBlock block = first; block.isValid() && offset.y() <= bottom; block = block.next()) {
        // Asked first: it lays out a block that is not laid out yet.
        const qreal height = block.document()->documentLayout()->blockBoundingRect(block).height();
        if (block.isVisible())
            PaintBlockMarks(painter, block, offset, marks);
        offset.ry() += height;
    }
}
