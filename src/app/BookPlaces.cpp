#include "app/BookPlaces.h"

#include "app/FirstStartGuide.h"
#include "app/ReaderState.h"
#include "reader/BookFind.h"
#include "reader/ChapterIndex.h"
#include "reader/ChapterNavigation.h"
#include "shelf/BookList.h"
#include "shelf/BookLoader.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/NotifyLabel.h"
#include "ui/ReaderControls.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

// Marks the reader busy putting a place back: nothing is saved meanwhile,
// although chapters are shown and the pane scrolls.
class PuttingPlaceBack {
public:
    explicit PuttingPlaceBack(ReaderState &state) : state_(state) { state_.restoringPlace = true; }
    ~PuttingPlaceBack() { state_.restoringPlace = false; }

private:
    ReaderState &state_;
};

bool CanSavePlace(const ReaderState &state)
{
    return state.startedUp && !state.shutDown && !state.shelf.loading && !state.restoringPlace && !state.rememberedPlace
        && !state.book.fileName.isEmpty();
}

} // namespace

QString BookStorePathFor(const QString &settingsPath)
{
    return QFileInfo(settingsPath).dir().filePath(QStringLiteral("books.db"));
}

void OnBookSelected(ReaderState &state, const ReaderControls &controls)
{
    SaveShownPlace(state, controls);
    ListBox &bookList = *controls.列表框_文件;
    if (!OpenBookAt(state.shelf, state.book, bookList, *controls.标签_状态显示, bookList.Selection()))
        return;
    // The reader has moved on: a place start-up could not restore is given up.
    state.rememberedPlace.reset();
    ClearFind(state.find, *controls.findWindow);
    ShowOwnPlace(state, controls);
}

void OnChooseBookFolder(ReaderState &state, const ReaderControls &controls)
{
    SaveShownPlace(state, controls);
    if (!OnOpenFolder(state.shelf, controls.mainWindow, *controls.列表框_文件, *controls.编辑框_路径))
        return;
    state.rememberedPlace.reset();
    ShowGuideWithoutBooks(state, controls);
}

bool OpenBookShown(const ReaderState &state, const ReaderControls &controls)
{
    return !state.book.fileName.isEmpty() && !state.shelf.loading
        && controls.列表框_文件->ItemText(state.shelf.openBookIndex) == state.book.fileName;
}

void SaveShownPlace(ReaderState &state, const ReaderControls &controls)
{
    if (!CanSavePlace(state))
        return;
    const OpenBook &book = state.book;
    const std::optional<BookRecord> stored = state.store.Find(book.fileName);
    BookRecord record = stored.value_or(BookRecord{});
    record.size = book.fileSize;
    record.modified = book.fileModified;
    record.chapter = controls.列表框_章节->Selection();
    record.chapterTitle = book.ChapterTitle(record.chapter);
    record.line = controls.编辑框_内容->FirstVisibleLine();
    // Headings removed under another rule stay in the record for that rule,
    // until some are removed under this one.
    if (!book.removedHeadings.isEmpty() || record.removedUnderRule == book.rule.Key()) {
        record.removedHeadings = book.removedHeadings;
        record.removedUnderRule = book.rule.Key();
    }
    if (stored && record == *stored)
        return;
    record.lastRead = QDateTime::currentMSecsSinceEpoch();
    state.store.Put(book.fileName, record);
}

void ApplyRemovedHeadings(ReaderState &state, const ReaderControls &controls)
{
    const std::optional<BookRecord> record = state.store.Find(state.book.fileName);
    if (!record || record->removedHeadings.isEmpty() || record->removedUnderRule != state.book.rule.Key())
        return;
    state.book.RemoveHeadings(record->removedHeadings);
    FillChapterList(state.book, *controls.列表框_章节);
    controls.列表框_章节->SetSelection(0);
}

void ShowPlace(ReaderState &state, const ReaderControls &controls, int chapter, const QString &title, int line)
{
    const PuttingPlaceBack busy(state);
    EditBox &pane = *controls.编辑框_内容;
    ShowChapter(state.book, *controls.列表框_章节, pane, state.book.ResolveChapter(chapter, title));
    if (!pane.Text().isEmpty())
        pane.ScrollLines(line);
}

void ShowOwnPlace(ReaderState &state, const ReaderControls &controls)
{
    ApplyRemovedHeadings(state, controls);
    if (const std::optional<BookRecord> record = state.store.Find(state.book.fileName))
        ShowPlace(state, controls, record->chapter, record->chapterTitle, record->line);
}
