#include "core/Sentences.h"

namespace {

bool IsSentenceEnd(QChar c)
{
    return QStringView(u"。｡！？!?…").contains(c);
}

bool IsClosingMark(QChar c)
{
    return QStringView(u"”」』’）》〉】\"')").contains(c);
}

bool IsPause(QChar c)
{
    return QStringView(u"，；,;").contains(c);
}

bool IsBlank(QChar c)
{
    return c == u'\n' || c == u'\r' || c == u'\t' || c == u' ' || c == u'\u3000';
}

// Where the sentence starting at `from` ends: after its run of end marks and
// the closing marks after them, or at the line end (exclusive).
qsizetype SentenceEnd(QStringView text, qsizetype from)
{
    qsizetype i = from;
    while (i < text.size() && text[i] != u'\n' && !IsSentenceEnd(text[i]))
        ++i;
    while (i < text.size() && IsSentenceEnd(text[i]))
        ++i;
    while (i < text.size() && IsClosingMark(text[i]))
        ++i;
    return i;
}

// Where the first piece of a long stretch [from, to) ends.
qsizetype PieceEnd(QStringView text, qsizetype from, qsizetype to)
{
    const qsizetype limit = from + kLongestSentence;
    qsizetype lastPause = -1;
    for (qsizetype i = from; i < to; ++i) {
        if (!IsPause(text[i]))
            continue;
        if (i < limit)
            lastPause = i;
        else
            return lastPause >= 0 ? lastPause + 1 : i + 1;
    }
    return lastPause >= 0 ? lastPause + 1 : to;
}

// Adds [from, to) without the blanks around it, cut into pieces when long.
void AddSentence(QStringView text, qsizetype from, qsizetype to, QList<TextSpan> &sentences)
{
    while (from < to) {
        while (from < to && IsBlank(text[from]))
            ++from;
        qsizetype end = to;
        while (end > from && IsBlank(text[end - 1]))
            --end;
        if (from == end)
            return;
        const qsizetype cut = end - from > kLongestSentence ? PieceEnd(text, from, end) : end;
        sentences.append({from, cut - from});
        from = cut;
        to = end;
    }
}

} // namespace

QList<TextSpan> SplitSentences(QStringView text)
{
    QList<TextSpan> sentences;
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype end = SentenceEnd(text, from);
        AddSentence(text, from, end, sentences);
        from = end == from ? end + 1 : end;
    }
    return sentences;
}
