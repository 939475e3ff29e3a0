#include "ui/ShapedText.h"

#include <algorithm>

namespace {

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\u3000' || c == u'\u00A0';
}

// Where the line starting at `start` ends (its line end excluded), and where
// the next one starts.
std::pair<qsizetype, qsizetype> LineEnd(const QString &text, qsizetype start)
{
    qsizetype end = start;
    while (end < text.size() && text[end] != u'\n' && text[end] != u'\r')
        ++end;
    qsizetype next = end;
    if (next < text.size() && text[next] == u'\r')
        ++next;
    if (next < text.size() && text[next] == u'\n')
        ++next;
    return {end, next};
}

} // namespace

ShapedText::ShapedText(const QString &text, Indentation indentation, BlankLines blankLines)
{
    if (indentation == Indentation::AsInFile && blankLines == BlankLines::Keep) {
        shown_ = text;
        lines_.append({0, 0, 0, 0, text.size()});
        return;
    }
    shown_.reserve(text.size() + text.size() / 8);
    bool afterBlankLine = false;
    for (qsizetype start = 0; start < text.size();) {
        const auto [end, next] = LineEnd(text, start);
        qsizetype content = start;
        while (content < end && IsBlank(text[content]))
            ++content;
        const bool blank = content == end;
        const bool dropped =
            blank && (blankLines == BlankLines::Remove || (blankLines == BlankLines::Collapse && afterBlankLine));
        if (!dropped)
            ShapeLine(text, start, blank ? start : content, next, blank ? Indentation::AsInFile : indentation);
        afterBlankLine = blank;
        start = next;
    }
}

// Puts one kept line into the shown text: its leading blanks (start to
// content) as the rule says, then the rest with its line end.
void ShapedText::ShapeLine(const QString &text, qsizetype start, qsizetype content, qsizetype end,
                           Indentation indentation)
{
    Line line{start, shown_.size(), start, 0, 0};
    if (indentation != Indentation::AsInFile)
        line.text = content;
    if (indentation == Indentation::TwoFullWidth)
        shown_ += QStringLiteral("\u3000\u3000");
    line.shown = shown_.size();
    line.length = end - line.text;
    shown_ += QStringView(text).sliced(line.text, line.length);
    lines_.append(line);
}

qsizetype ShapedText::ShownPosition(qsizetype textPosition) const
{
    // The last line starting at or before the position.
    auto line = std::upper_bound(lines_.cbegin(), lines_.cend(), textPosition,
                                 [](qsizetype position, const Line &l) { return position < l.textStart; });
    if (line == lines_.cbegin())
        return 0;
    --line;
    if (textPosition < line->text)
        return line->shownStart;
    return line->shown + qMin(textPosition - line->text, line->length);
}

qsizetype ShapedText::TextPosition(qsizetype shownPosition) const
{
    auto line = std::upper_bound(lines_.cbegin(), lines_.cend(), shownPosition,
                                 [](qsizetype position, const Line &l) { return position < l.shownStart; });
    if (line == lines_.cbegin())
        return 0;
    --line;
    if (shownPosition <= line->shown)
        return line->textStart;
    return line->text + qMin(shownPosition - line->shown, line->length);
}
