#include "session/ChapterRuleChoice.h"

#include "core/BookStore.h"
#include "core/Log.h"
#include "session/Log.h"
#include "session/ReadingSession.h"

namespace {

// Offered when the book has no expression of its own yet: headings such as
// "Chapter 12" on a line of their own.
const char16_t kFirstExpression[] = u"^\\s*Chapter\\s+\\d+";

} // namespace

void ChapterRuleChoice::OnChooseChapterRule(const ChapterRule &rule)
{
    const OpenBook &book = session_.Book();
    if (!session_.HasBook() || book.rule == rule)
        return;
    session_.SaveShownPlace();
    session_.Store().Update(book.RecordKey(), [&](BookRecord &record) { record.chapterRule = rule.Key(); });
    const std::optional<TextRange> range = book.ChapterRange(session_.ShownChapter());
    const qsizetype top = range ? range->start + session_.TopPosition() : 0;
    session_.CutAgain([=](const OpenBook &cut) {
        qCInfo(lcSession) << "chapter rule" << rule.Key() << "for" << LoggedPath(cut.fileName) << "finds"
                          << cut.ChapterCount() - 1 + cut.removedHeadings.size() << "headings";
        if (!range)
            return ShownPlace{};
        // The chapter that now holds the start of the one shown (its heading
        // may be none under this rule), with the line that was on top still
        // on top while it lies in that chapter.
        const int chapter = qMax(0, cut.ChapterAt(range->start));
        const std::optional<TextRange> now = cut.ChapterRange(chapter);
        if (now && top >= now->start && top < now->end)
            return ShownPlace{chapter, 0, top - now->start};
        return ShownPlace{chapter};
    });
}

QString ChapterRuleChoice::CustomPatternToOffer() const
{
    const ChapterRule &current = session_.Book().rule;
    return current.kind == ChapterRule::Custom ? current.pattern : QString::fromUtf16(kFirstExpression);
}
