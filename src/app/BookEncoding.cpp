#include "app/BookEncoding.h"

#include "app/BookPlaces.h"
#include "app/ReaderState.h"
#include "reader/BookFind.h"
#include "reader/ChapterNavigation.h"
#include "shelf/BookLoader.h"
#include "ui/ListBox.h"
#include "ui/NotifyLabel.h"
#include "ui/ReaderControls.h"

namespace {

std::optional<TextEncoding::Kind> ChosenFor(BookStore &store, const QString &fileName)
{
    const BookRecord *record = store.Find(fileName);
    return record ? EncodingNamed(record->encoding) : std::nullopt;
}

void RememberChoice(ReaderState &state, std::optional<TextEncoding::Kind> kind)
{
    const BookRecord *stored = state.store.Find(state.book.fileName);
    BookRecord record = stored ? *stored : BookRecord{};
    record.encoding = kind ? QString::fromLatin1(TextEncoding{*kind, 0}.Name()) : QString();
    state.store.Put(state.book.fileName, record);
}

} // namespace

void OnChooseEncoding(ReaderState &state, const ReaderControls &controls, std::optional<TextEncoding::Kind> kind)
{
    ListBox &bookList = *controls.列表框_文件;
    const int index = state.shelf.openBookIndex;
    if (state.book.fileName.isEmpty() || bookList.ItemText(index) != state.book.fileName)
        return;
    SaveShownPlace(state, controls);
    RememberChoice(state, kind);
    const int chapter = controls.列表框_章节->Selection();
    const QString title = state.book.ChapterTitle(chapter);
    if (!OpenBookAt(state.shelf, state.book, bookList, *controls.标签_状态显示, index))
        return;
    ClearFind(state.find, *controls.findWindow);
    ApplyRemovedHeadings(state, controls);
    ShowPlace(state, controls, qMax(0, state.book.FindChapter(title, chapter)), QString(), 0);
}

std::optional<TextEncoding::Kind> ChosenEncodingOfOpenBook(ReaderState &state)
{
    return state.book.fileName.isEmpty() ? std::nullopt : ChosenFor(state.store, state.book.fileName);
}

void UseChosenEncodings(ReaderState &state)
{
    BookStore &store = state.store;
    state.shelf.chosenEncoding = [&store](const QString &fileName) -> std::optional<TextEncoding::Kind> {
        return store.Ready() ? ChosenFor(store, fileName) : std::nullopt;
    };
}

bool ReadInAnotherEncodingThanChosen(ReaderState &state)
{
    const std::optional<TextEncoding::Kind> chosen = ChosenEncodingOfOpenBook(state);
    return chosen && *chosen != state.book.encoding.kind;
}
