#include "ui/PaneDocumentLayout.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

PaneDocumentLayout::PaneDocumentLayout(QTextDocument *document) : QPlainTextDocumentLayout(document) {}

void PaneDocumentLayout::SetSpacing(double lineSpacing, qreal paragraphSpacing)
{
    if (lineSpacing == lineSpacing_ && paragraphSpacing == paragraphSpacing_)
        return;
    lineSpacing_ = lineSpacing;
    paragraphSpacing_ = paragraphSpacing;
    // The view sizes its scroll range and repaints from these.
    Q_EMIT documentSizeChanged(documentSize());
    Q_EMIT update();
}

QRectF PaneDocumentLayout::blockBoundingRect(const QTextBlock &block) const
{
    QRectF rect = QPlainTextDocumentLayout::blockBoundingRect(block);
    if (!block.isVisible() || (lineSpacing_ == 1.0 && paragraphSpacing_ == 0))
        return rect;
    // Setting the same positions again is cheap, and a block Qt has laid out
    // anew since has its lines stacked tightly again.
    QTextLayout *layout = block.layout();
    qreal y = 0;
    for (int i = 0; i < layout->lineCount(); ++i) {
        QTextLine line = layout->lineAt(i);
        const qreal room = line.height() * lineSpacing_;
        line.setPosition(QPointF(line.position().x(), y + (room - line.height()) / 2));
        y += room;
    }
    const QTextBlock next = block.next();
    if (!next.isValid())
        y += document()->documentMargin();
    else if (next.userState() != kContinuesParagraph && block.length() > 1)
        y += paragraphSpacing_;
    rect.setHeight(y);
    return rect;
}
