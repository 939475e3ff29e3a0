#include "app/BookChoices.h"

#include "app/ReaderState.h"
#include "reader/ChapterIndex.h"
#include "shelf/BookLoader.h"
#include "ui/ListBox.h"
#include "ui/NotifyLabel.h"
#include "ui/ReaderControls.h"

BookChoices ChoicesOf(const std::optional<BookRecord> &record)
{
    if (!record)
        return {};
    return {EncodingNamed(record->encoding), ChapterRule::FromKey(record->chapterRule)};
}

void UseBookChoices(ReaderState &state)
{
    BookStore &store = state.store;
    state.shelf.choicesFor = [&store](const QString &fileName) { return ChoicesOf(store.Find(fileName)); };
}

void ApplyChoicesFoundLate(ReaderState &state, const ReaderControls &controls)
{
    OpenBook &book = state.book;
    const BookChoices choices = ChoicesOf(state.store.Find(book.fileName));
    if (choices.encoding && *choices.encoding != book.encoding.kind) {
        OpenBookAt(state.shelf, book, *controls.列表框_文件, *controls.标签_状态显示, state.shelf.openBookIndex);
    } else if (!(choices.rule == book.rule)) {
        book.rule = choices.rule;
        book.BuildChapterIndex();
        FillChapterList(book, *controls.列表框_章节);
        controls.列表框_章节->SetSelection(0);
    }
}
