#include "ui/ShownTextPositions.h"

#include <limits>

namespace {
constexpr qsizetype kNoLimit = std::numeric_limits<qsizetype>::max();
} // namespace

ShownTextPositions::ShownTextPositions(const QString &text, const QList<qsizetype> &breaks)
    : text_(text), breaks_(breaks)
{}

ShownTextPositions::Positions ShownTextPositions::Walk(qsizetype textLimit, qsizetype documentLimit) const
{
    Positions at;
    qsizetype nextBreak = 0;
    while (at.text < text_.size()) {
        // An extra break stands in the document just before its character.
        if (nextBreak < breaks_.size() && breaks_[nextBreak] == at.text) {
            ++at.document;
            ++nextBreak;
        }
        if (at.text >= textLimit || at.document >= documentLimit)
            return at;
        const bool crLf = text_[at.text] == u'\r' && at.text + 1 < text_.size() && text_[at.text + 1] == u'\n';
        at.text += crLf ? 2 : 1;
        ++at.document;
    }
    return at;
}

qsizetype ShownTextPositions::DocumentPosition(qsizetype textPosition) const
{
    return Walk(textPosition, kNoLimit).document;
}

qsizetype ShownTextPositions::TextPosition(qsizetype documentPosition) const
{
    return Walk(kNoLimit, documentPosition).text;
}
