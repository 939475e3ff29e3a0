#include "app/BookEncoding.h"

#include "app/BookChoices.h"
#include "app/BookPlaces.h"
#include "app/ReaderState.h"
#include "reader/BookFind.h"
#include "reader/ChapterNavigation.h"
#include "shelf/BookLoader.h"
#include "ui/ListBox.h"
#include "ui/NotifyLabel.h"
#include "ui/ReaderControls.h"

namespace {

void RememberChoice(ReaderState &state, std::optional<TextEncoding::Kind> kind)
{
    state.store.Update(state.book.fileName, [&](BookRecord &record) {
        record.encoding = kind ? QString::fromLatin1(TextEncoding{*kind, 0}.Name()) : QString();
    });
}

} // namespace

void OnChooseEncoding(ReaderState &state, const ReaderControls &controls, std::optional<TextEncoding::Kind> kind)
{
    if (!OpenBookShown(state, controls))
        return;
    SaveShownPlace(state, controls);
    RememberChoice(state, kind);
    const int chapter = controls.列表框_章节->Selection();
    const QString title = state.book.ChapterTitle(chapter);
    if (!OpenBookAt(state.shelf, state.book, *controls.列表框_文件, *controls.标签_状态显示, state.shelf.openBookIndex))
        return;
    ClearFind(state.find, *controls.findWindow);
    ApplyRemovedHeadings(state, controls);
    ShowPlace(state, controls, qMax(0, state.book.FindChapter(title, chapter)), QString(), 0);
}

std::optional<TextEncoding::Kind> ChosenEncodingOfOpenBook(ReaderState &state)
{
    return state.book.fileName.isEmpty() ? std::nullopt : ChoicesOf(state.store.Find(state.book.fileName)).encoding;
}
