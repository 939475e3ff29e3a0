#include "core/Highlight.h"

#include <algorithm>
#include <tuple>

namespace {

// How far from its old place a highlight's text is looked for: an edit
// before it moves it by a line or a paragraph, not by chapters, and farther
// away a short excerpt would find some other sentence.
constexpr qsizetype kNearby = 5000;

// Whether `theirs` is the copy of one highlight to keep rather than `ours`.
bool TheirsWins(const Highlight &ours, const Highlight &theirs)
{
    if (ours.IsKept() != theirs.IsKept())
        return !theirs.IsKept();
    return theirs.changed > ours.changed;
}

} // namespace

QString HighlightColourName(HighlightColour colour)
{
    switch (colour) {
    case HighlightColour::Green:
        return QStringLiteral("绿");
    case HighlightColour::Blue:
        return QStringLiteral("蓝");
    case HighlightColour::Pink:
        return QStringLiteral("粉");
    case HighlightColour::Yellow:
        break;
    }
    return QStringLiteral("黄");
}

QList<Highlight> MergeHighlights(const QList<Highlight> &ours, const QList<Highlight> &theirs)
{
    QList<Highlight> merged = ours;
    for (const Highlight &their : theirs) {
        const auto same =
            std::find_if(merged.begin(), merged.end(), [&their](const Highlight &our) { return our.IsSameAs(their); });
        if (same == merged.end())
            merged.append(their);
        else if (TheirsWins(*same, their))
            *same = their;
    }
    std::stable_sort(merged.begin(), merged.end(), [](const Highlight &a, const Highlight &b) {
        return std::tie(a.start, a.created) < std::tie(b.start, b.created);
    });
    return merged;
}

std::optional<TextRange> FindHighlightAgain(const QString &bookText, const Highlight &highlight)
{
    const QString &text = highlight.text;
    if (text.isEmpty() || highlight.start < 0)
        return std::nullopt;
    const qsizetype length = text.size();
    if (highlight.start + length <= bookText.size() && QStringView(bookText).sliced(highlight.start, length) == text)
        return TextRange{highlight.start, highlight.start + length};
    // Only the stretch around the old place is searched: a highlight lost
    // in a long book costs no scan of all of it.
    const qsizetype old = qMin(highlight.start, bookText.size());
    const qsizetype from = qMax(qsizetype(0), old - kNearby);
    const QStringView around = QStringView(bookText).sliced(from, qMin(bookText.size(), old + kNearby + length) - from);
    const qsizetype after = around.indexOf(text, old - from);
    const qsizetype before = around.lastIndexOf(text, old - from);
    std::optional<qsizetype> nearest;
    if (after >= 0)
        nearest = from + after;
    if (before >= 0 && (!nearest || old - (from + before) < *nearest - old))
        nearest = from + before;
    if (!nearest)
        return std::nullopt;
    return TextRange{*nearest, *nearest + length};
}
