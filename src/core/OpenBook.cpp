#include "core/OpenBook.h"

#include "core/BookKey.h"

#include "core/SplitChapterIndex.h"
#include "core/TableOfContents.h"

#include <algorithm>
#include <cstdlib>

namespace {

qsizetype Distance(const ChapterHeading &a, const ChapterHeading &b)
{
    return std::abs(a.position - b.position);
}

// The title as kept and shown: blanks and line ends at either end dropped,
// then cut to kLongestTitle characters (never between the halves of a
// surrogate pair) and any blanks the cut left at its end. Gives a title it
// gave again.
QString ShownTitle(QStringView title)
{
    QStringView shown = title.trimmed();
    if (shown.size() > kLongestTitle)
        shown = shown.first(shown.at(kLongestTitle).isLowSurrogate() ? kLongestTitle - 1 : kLongestTitle).trimmed();
    return shown.toString();
}

} // namespace

QString OpenBook::RecordKey() const
{
    return BookKey(folder, fileName);
}

void OpenBook::BuildChapterIndex()
{
    BuildChapterIndex(1, {});
}

bool OpenBook::BuildChapterIndex(int threads, const std::function<bool()> &cancelled)
{
    textBytes.DropFront(QStringView(BookText).first(LeadingBlanks(BookText)), encoding);
    TrimBookText(BookText);
    std::optional<QList<ChapterHeading>> headings = FindHeadingsOnThreads(BookText, rule, threads, cancelled);
    if (!headings)
        return false;
    removedHeadings.clear();
    // An expression of the reader's own says itself what a heading is.
    chapters =
        rule.kind == ChapterRule::Custom ? std::move(*headings) : FoldTableOfContents(BookText, std::move(*headings));
    chapters.prepend({0, HeadItemOf(BookText), false});
    return true;
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

std::optional<FilePlace> OpenBook::FilePlaceOf(int n, qsizetype position) const
{
    const std::optional<TextRange> range = ChapterRange(n);
    if (!range)
        return std::nullopt;
    const std::optional<qint64> start = textBytes.ByteOffset(BookText, range->start, encoding);
    const std::optional<qint64> end = textBytes.ByteOffset(BookText, range->end, encoding);
    const std::optional<qint64> line =
        textBytes.ByteOffset(BookText, qBound(range->start, range->start + position, range->end), encoding);
    if (!start || !end || !line)
        return std::nullopt;
    return FilePlace{*start, *end - *start, *line, QString::fromLatin1(encoding.Name())};
}

QString OpenBook::ChapterText(int n) const
{
    const std::optional<TextRange> range = ChapterRange(n);
    return range ? BookText.mid(range->start, range->end - range->start) : QString();
}

CleanedText OpenBook::ShownChapter(int n, QList<CleanupRule> *ranAway) const
{
    CleanedText shown = cleaner.Clean(ChapterText(n), CleanupRule::Content, ranAway);
    if (shownScript)
        shown.ConvertShown(ConvertScript(shown.Shown(), *shownScript));
    return shown;
}

QString OpenBook::ListedTitle(int n) const
{
    if (n < 0 || n >= ChapterCount())
        return {};
    // The list is filled on every opening, title by title: without title
    // rules no position map is made for each.
    if (!cleaner.Cleans(CleanupRule::Titles))
        return chapters.at(n).text;
    return cleaner.Clean(chapters.at(n).text, CleanupRule::Titles).Shown();
}

std::optional<ChapterHeading> OpenBook::RemoveChapter(int n)
{
    if (n < 0 || n >= ChapterCount())
        return std::nullopt;
    removedHeadings.append(chapters.at(n));
    return chapters.takeAt(n);
}

void OpenBook::RemoveHeadings(const QList<ChapterHeading> &headings)
{
    for (const ChapterHeading &heading : headings) {
        int best = -1;
        for (int n = 0; n < ChapterCount(); ++n) {
            if (chapters[n].text != heading.text)
                continue;
            if (best < 0 || Distance(chapters[n], heading) < Distance(chapters[best], heading))
                best = n;
        }
        RemoveChapter(best);
    }
}

void OpenBook::RestoreRemovedHeadings()
{
    for (const ChapterHeading &heading : std::as_const(removedHeadings)) {
        const auto after =
            std::upper_bound(chapters.begin(), chapters.end(), heading.position,
                             [](qsizetype position, const ChapterHeading &item) { return position < item.position; });
        chapters.insert(after, heading);
    }
    removedHeadings.clear();
}

int OpenBook::ChapterAt(qsizetype position) const
{
    const auto after = std::upper_bound(chapters.begin(), chapters.end(), position,
                                        [](qsizetype at, const ChapterHeading &item) { return at < item.position; });
    return after == chapters.begin() ? (chapters.isEmpty() ? -1 : 0) : int(after - chapters.begin()) - 1;
}

QString OpenBook::ChapterTitle(int n) const
{
    return n >= 0 && n < ChapterCount() ? ShownTitle(chapters.at(n).text) : QString();
}

int OpenBook::FindChapter(const QString &title, int near) const
{
    const QString wanted = ShownTitle(title);
    int found = -1;
    for (int n = 0; n < ChapterCount(); ++n) {
        if (ChapterTitle(n) != wanted)
            continue;
        if (found < 0 || std::abs(n - near) < std::abs(found - near))
            found = n;
    }
    return found;
}

int OpenBook::ResolveChapter(int index, const QString &title) const
{
    if (title.isEmpty() || ChapterTitle(index) == ShownTitle(title))
        return index;
    const int found = FindChapter(title, index);
    return found >= 0 ? found : index;
}

int OpenBook::NumberedChapters() const
{
    return int(
        std::count_if(chapters.cbegin(), chapters.cend(), [](const ChapterHeading &item) { return item.numbered; }));
}

int OpenBook::ChapterNumberOf(int n) const
{
    if (n < 0 || n >= ChapterCount() || !chapters.at(n).numbered)
        return 0;
    return int(std::count_if(chapters.cbegin(), chapters.cbegin() + n + 1,
                             [](const ChapterHeading &item) { return item.numbered; }));
}

int OpenBook::ChapterWithNumber(int number) const
{
    for (int n = 0, counted = 0; n < ChapterCount() && number > 0; ++n) {
        if (chapters.at(n).numbered && ++counted == number)
            return n;
    }
    return -1;
}

int OpenBook::ChapterBefore(int n) const
{
    return n == 0 ? ChapterCount() - 1 : n - 1;
}

int OpenBook::ChapterAfter(int n) const
{
    return n == ChapterCount() - 1 ? 0 : n + 1;
}
