#pragma once
// Where a character of a text stands once the reading pane shows it, and
// back. The pane's document holds a CR LF as one block break, and each break
// put into a long paragraph for display as one more character, so positions
// in the book and in the pane drift apart as a chapter goes on.
#include <QList>
#include <QString>

class ShownTextPositions {
public:
    ShownTextPositions() = default;
    // The text as given to the pane, and where extra breaks stand before.
    ShownTextPositions(const QString &text, const QList<qsizetype> &breaks);

    qsizetype DocumentPosition(qsizetype textPosition) const;
    qsizetype TextPosition(qsizetype documentPosition) const;

private:
    struct Positions {
        qsizetype text = 0;
        qsizetype document = 0;
    };
    // Walks the text from its start until either position reaches its limit.
    Positions Walk(qsizetype textLimit, qsizetype documentLimit) const;

    QString text_;
    QList<qsizetype> breaks_;
};
