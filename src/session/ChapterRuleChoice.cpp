#include "session/ChapterRuleChoice.h"

#include "core/BookStore.h"
#include "core/CustomRulePreview.h"
#include "session/Log.h"
#include "session/ReadingSession.h"
#include "ui/ChapterRuleDialog.h"
#include "ui/EditBox.h"
#include "ui/ModalDialog.h"

namespace {

// Offered when the book has no expression of its own yet: headings such as
// "Chapter 12" on a line of their own.
const char16_t kFirstExpression[] = u"^\\s*Chapter\\s+\\d+";

} // namespace

void OnChooseChapterRule(ReadingSession &session, const ChapterRule &rule)
{
    const OpenBook &book = session.Book();
    if (!session.HasBook() || book.rule == rule)
        return;
    session.SaveShownPlace();
    session.Store().Update(book.fileName, [&](BookRecord &record) { record.chapterRule = rule.Key(); });
    const std::optional<TextRange> range = book.ChapterRange(session.ShownChapter());
    const qsizetype top = range ? range->start + session.Pane().FirstVisibleTextPosition() : 0;
    session.CutAgain([=](const OpenBook &cut) {
        qCInfo(lcSession) << "chapter rule" << rule.Key() << "for" << cut.fileName << "finds"
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

void OnEditCustomChapterRule(ReadingSession &session, QWidget *window)
{
    if (!session.HasBook())
        return;
    const ChapterRule &current = session.Book().rule;
    const QString pattern =
        current.kind == ChapterRule::Custom ? current.pattern : QString::fromUtf16(kFirstExpression);
    auto *dialog = new ChapterRuleDialog(pattern, window);
    auto *preview = new CustomRulePreview(session.Book().BookText, dialog);
    QObject::connect(dialog, &ChapterRuleDialog::patternSettled, preview, &CustomRulePreview::Check);
    QObject::connect(preview, &CustomRulePreview::checked, dialog,
                     [dialog](const QString &checked, const CustomRuleCheck &check) {
                         qCInfo(lcSession) << "own chapter rule" << checked << "checked: finds" << check.found
                                           << "headings" << check.problem;
                         dialog->ShowCheck(checked, check.problem, check.found, check.firstTitles);
                     });
    ChapterRule chosen{ChapterRule::Custom, {}};
    if (RunModalDialog(dialog, [&](ChapterRuleDialog &confirmed) { chosen.pattern = confirmed.Pattern(); }))
        OnChooseChapterRule(session, chosen);
}
