#include "app/ChapterRuleChoice.h"

#include "app/BookPlaces.h"
#include "app/Log.h"
#include "app/ReaderState.h"
#include "core/CustomRulePreview.h"
#include "reader/BookFind.h"
#include "reader/ChapterIndex.h"
#include "ui/ChapterRuleDialog.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/ModalDialog.h"
#include "ui/ReaderControls.h"

namespace {

// Offered when the book has no expression of its own yet: headings such as
// "Chapter 12" on a line of their own.
const char16_t kFirstExpression[] = u"^\\s*Chapter\\s+\\d+";

} // namespace

void OnChooseChapterRule(ReaderState &state, const ReaderControls &controls, const ChapterRule &rule)
{
    OpenBook &book = state.book;
    if (!OpenBookShown(state, controls) || book.rule == rule)
        return;
    SaveShownPlace(state, controls);
    state.store.Update(book.fileName, [&](BookRecord &record) { record.chapterRule = rule.Key(); });
    const int shown = controls.列表框_章节->Selection();
    const QString title = book.ChapterTitle(shown);
    const std::optional<TextRange> range = book.ChapterRange(shown);
    const int line = controls.编辑框_内容->FirstVisibleLine();

    book.rule = rule;
    book.BuildChapterIndex();
    qCInfo(lcApp) << "chapter rule" << rule.Key() << "for" << book.fileName << "finds" << book.ChapterCount() - 1
                  << "headings";
    ClearFind(state.find, *controls.findWindow);
    FillChapterList(book, *controls.列表框_章节);
    ApplyRemovedHeadings(state, controls);
    const int chapter = qMax(0, book.FindChapter(title, shown));
    // The same chapter starting at the same place: the reader stays on the
    // line they were reading.
    const std::optional<TextRange> now = book.ChapterRange(chapter);
    const bool sameStart = range && now && range->start == now->start;
    ShowPlace(state, controls, chapter, QString(), sameStart ? line : 0);
}

void OnEditCustomChapterRule(ReaderState &state, const ReaderControls &controls)
{
    if (!OpenBookShown(state, controls))
        return;
    const ChapterRule &current = state.book.rule;
    const QString pattern =
        current.kind == ChapterRule::Custom ? current.pattern : QString::fromUtf16(kFirstExpression);
    auto *dialog = new ChapterRuleDialog(pattern, controls.mainWindow);
    auto *preview = new CustomRulePreview(state.book.BookText, dialog);
    QObject::connect(dialog, &ChapterRuleDialog::patternSettled, preview, &CustomRulePreview::Check);
    QObject::connect(preview, &CustomRulePreview::checked, dialog,
                     [dialog](const QString &checked, const CustomRuleCheck &check) {
                         qCInfo(lcApp) << "own chapter rule" << checked << "checked: finds" << check.found << "headings"
                                       << check.problem;
                         dialog->ShowCheck(checked, check.problem, check.found, check.firstTitles);
                     });
    ChapterRule chosen{ChapterRule::Custom, {}};
    if (RunModalDialog(dialog, [&](ChapterRuleDialog &confirmed) { chosen.pattern = confirmed.Pattern(); }))
        OnChooseChapterRule(state, controls, chosen);
}
