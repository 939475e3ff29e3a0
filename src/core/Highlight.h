#pragma once
// A highlight (高亮) the reader put on the open book, with its note (笔记),
// kept by position in the book's own text, like a bookmark: so it holds under
// any typography, script or cleanup rule. The text it covered is kept too, so
// that it can be found again when the book's file changes.
#include "core/OpenBook.h"

#include <QString>

#include <optional>

enum class HighlightColour { Yellow, Green, Blue, Pink };
constexpr int kHighlightColourCount = 4;

struct Highlight {
    // The stretch [start, end) of the book's own text.
    qsizetype start = 0;
    qsizetype end = 0;
    // What the stretch held when it was highlighted.
    QString text;
    HighlightColour colour = HighlightColour::Yellow;
    QString note;
    // When it was made, last changed (its colour or note), and deleted (0:
    // kept), milliseconds since 1970. A deleted highlight is kept as such,
    // so that a copy synced from another computer does not bring it back.
    qint64 created = 0;
    qint64 changed = 0;
    qint64 deleted = 0;

    bool IsKept() const { return deleted == 0; }
    // Whether both are the same highlight, as made on one computer, whatever
    // became of it since.
    bool IsSameAs(const Highlight &other) const { return created == other.created && text == other.text; }

    bool operator==(const Highlight &) const = default;
};

// The colour's name as the reader sees it: 黄, 绿, 蓝, 粉.
QString HighlightColourName(HighlightColour colour);

// The highlights of both copies of a book's list, once each (IsSameAs): of
// two copies of one, the deleted one, else the one changed last (on equal
// times, `ours`); in book order.
QList<Highlight> MergeHighlights(const QList<Highlight> &ours, const QList<Highlight> &theirs);

// Where the highlight's text now stands in `bookText`: its own stretch while
// that still holds its text, else the occurrence of its text nearest to its
// old start within a few thousand characters either side; nullopt when there
// is none (the text was changed or removed there).
std::optional<TextRange> FindHighlightAgain(const QString &bookText, const Highlight &highlight);
