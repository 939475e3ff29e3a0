#include "core/SplitChapterIndex.h"

#include "core/OrderedTasks.h"

namespace {

// Several parts per thread keep every thread busy to the end; parts much
// shorter than this would cost more to hand out than to search.
constexpr qsizetype kPartsPerThread = 8;
constexpr qsizetype kShortestPart = 1 << 16;
constexpr qsizetype kLongestPart = 1 << 20;

struct FoundInPart {
    QList<ChapterHeading> headings;
    bool outOfTime = false;
};

qsizetype PartLengthFor(qsizetype textLength, int threads, qsizetype partLength)
{
    if (partLength > 0)
        return partLength;
    return qBound(kShortestPart, textLength / (kPartsPerThread * qMax(1, threads)), kLongestPart);
}

// Where the part that starts at `start` ends: at the first line start that
// leaves it `length` characters or more; at the end of the text when none
// does.
qsizetype PartEnd(const QString &text, qsizetype start, qsizetype length)
{
    if (length >= text.size() - start)
        return text.size();
    const qsizetype lineFeed = text.indexOf(u'\n', start + length - 1);
    return lineFeed < 0 ? text.size() : lineFeed + 1;
}

FoundInPart SearchPart(QStringView part, qsizetype start, const ChapterRule &rule, const QDeadlineTimer &deadline)
{
    FoundInPart found;
    found.headings = FindHeadingsByRule(part, rule, deadline, &found.outOfTime);
    for (ChapterHeading &heading : found.headings)
        heading.position += start;
    return found;
}

} // namespace

std::optional<QList<ChapterHeading>> FindHeadingsOnThreads(const QString &text, const ChapterRule &rule, int threads,
                                                           const std::function<bool()> &cancelled, qsizetype partLength)
{
    if (rule.kind == ChapterRule::Custom)
        return FindHeadingsByRule(text, rule);
    const QDeadlineTimer deadline(kChapterSearchTimeLimit);
    const qsizetype length = PartLengthFor(text.size(), threads, partLength);
    // The tasks read the text in place; it outlives them, as `parts` waits
    // for every task before it goes.
    OrderedTasks<FoundInPart> parts(threads);
    for (qsizetype start = 0, end = 0; start < text.size(); start = end) {
        end = PartEnd(text, start, length);
        const QStringView part = QStringView(text).sliced(start, end - start);
        parts.Add([part, start, rule, deadline] { return SearchPart(part, start, rule, deadline); });
    }
    QList<ChapterHeading> headings;
    bool cutShort = false;
    while (parts.Count() > 0) {
        if (cancelled && cancelled())
            return std::nullopt;
        const FoundInPart found = parts.TakeOldest();
        if (!cutShort)
            headings.append(found.headings);
        cutShort = cutShort || found.outOfTime;
    }
    return headings;
}
