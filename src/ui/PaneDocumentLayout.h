#pragma once
// The plain-text layout with room between lines and after paragraphs. Qt's
// plain-text layout stacks lines tightly and ignores block formats; this one
// moves each block's lines apart once Qt has broken them, so scrolling,
// painting and hit-testing, which all ask for a block's rectangle first, see
// the spaced lines.
#include <QPlainTextDocumentLayout>

class PaneDocumentLayout : public QPlainTextDocumentLayout {
    Q_OBJECT
public:
    explicit PaneDocumentLayout(QTextDocument *document);

    // Each line takes `lineSpacing` times its own height, its text centred in
    // that room; a block ending a paragraph (not one continued by the next
    // block) that holds text gets `paragraphSpacing` pixels below it.
    void SetSpacing(double lineSpacing, qreal paragraphSpacing);
    QRectF blockBoundingRect(const QTextBlock &block) const override;

    // The user state of a block that continues the paragraph of the one
    // before (a long paragraph is shown as several blocks).
    static constexpr int kContinuesParagraph = 1;

private:
    double lineSpacing_ = 1.0;
    qreal paragraphSpacing_ = 0;
};
