#pragma once
// A text as the 净化规则 leave it, and where each character of the one stands
// in the other. The reader keeps places, bookmarks and find results as
// positions in the book's own text, so they hold with any rules or none.
#include <QList>
#include <QString>

class CleanedText {
public:
    CleanedText() = default;
    // The text as it is, no rule applied.
    explicit CleanedText(QString text);

    const QString &Shown() const { return shown_; }
    // Whether any rule changed the text.
    bool Changed() const { return changed_; }

    // One stretch of the shown text and what takes its place.
    struct Replacement {
        qsizetype start = 0;
        qsizetype end = 0;
        QString with;
    };
    // Replaces those stretches of Shown(), given in order and apart; the
    // original text each one stood for is what the new text stands for.
    void Replace(const QList<Replacement> &replacements);
    // Puts `shown` in place of the shown text as if character for character
    // (a script conversion); the positions stay as they were.
    void ConvertShown(QString shown) { shown_ = std::move(shown); }

    // The shown position of an original position: a character shown as it is
    // keeps its place, one inside replaced text is placed at the start of its
    // replacement, a deleted one where the next shown character is.
    qsizetype ShownPosition(qsizetype textPosition) const;
    // The original position of a shown one: a character of a replacement
    // stands for the start of what it replaced. So
    // TextPosition(ShownPosition(p)) == p for any p that TextPosition gave,
    // and a place kept with rules on finds the same text with them off.
    qsizetype TextPosition(qsizetype shownPosition) const;

private:
    // A run of shown text: copied from the original one character for one, or
    // a replacement standing for the original stretch [textStart, textEnd).
    // The runs cover the shown text in order; their original stretches follow
    // each other in the same order, with gaps where text was deleted.
    struct Run {
        qsizetype shownStart = 0;
        qsizetype shownLength = 0;
        qsizetype textStart = 0;
        qsizetype textEnd = 0;
        bool copied = true;
    };
    // The runs that cover shown [from, to), cut to it, starting at `at`.
    void AppendRuns(QList<Run> &runs, qsizetype from, qsizetype to, qsizetype &at) const;
    qsizetype RunAt(qsizetype shownPosition) const;
    qsizetype TextStartOf(qsizetype shownPosition) const;
    qsizetype TextEndOf(qsizetype shownEnd) const;

    QString shown_;
    QList<Run> runs_;
    qsizetype textLength_ = 0;
    bool changed_ = false;
};
