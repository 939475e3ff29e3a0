#include "core/OpenBook.h"

#include <cstdlib>

namespace {

QString WithoutLineEnd(const QString &title)
{
    qsizetype end = title.size();
    while (end > 0 && (title.at(end - 1) == u'\r' || title.at(end - 1) == u'\n'))
        --end;
    return title.first(end);
}

} // namespace

void OpenBook::BuildChapterIndex()
{
    TrimBookText(BookText);
    chapters = FindChapterHeadings(BookText);
    chapters.prepend({0, HeadItemOf(BookText)});
}

std::optional<TextRange> OpenBook::ChapterRange(int n) const
{
    if (n < 0 || n >= ChapterCount())
        return std::nullopt;
    const auto startOf = [this](int item) {
        const ChapterHeading &heading = chapters.at(item);
        const qsizetype position =
            heading.position >= 0 ? heading.position : BookText.indexOf(heading.text, 0, Qt::CaseInsensitive);
        return qBound<qsizetype>(0, position, BookText.size());
    };
    const qsizetype start = startOf(n);
    const qsizetype end = n == ChapterCount() - 1 ? BookText.size() : startOf(n + 1);
    return TextRange{start, qMax(start, end)};
}

QString OpenBook::ChapterText(int n) const
{
    const std::optional<TextRange> range = ChapterRange(n);
    return range ? BookText.mid(range->start, range->end - range->start) : QString();
}

std::optional<ChapterHeading> OpenBook::RemoveChapter(int n)
{
    if (n < 0 || n >= ChapterCount())
        return std::nullopt;
    return chapters.takeAt(n);
}

QString OpenBook::ChapterTitle(int n) const
{
    return n >= 0 && n < ChapterCount() ? WithoutLineEnd(chapters.at(n).text) : QString();
}

int OpenBook::FindChapter(const QString &title, int near) const
{
    int found = -1;
    for (int n = 0; n < ChapterCount(); ++n) {
        if (ChapterTitle(n) != title)
            continue;
        if (found < 0 || std::abs(n - near) < std::abs(found - near))
            found = n;
    }
    return found;
}

int OpenBook::ChapterBefore(int n) const
{
    return n == 0 ? ChapterCount() - 1 : n - 1;
}

int OpenBook::ChapterAfter(int n) const
{
    return n == ChapterCount() - 1 ? 0 : n + 1;
}
