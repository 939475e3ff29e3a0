#include "session/ReadingSession.h"

#include "core/BookChoices.h"
#include "core/BookStore.h"
#include "reader/ChapterNavigation.h"
#include "shelf/Shelf.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"

#include <QDateTime>
#include <QFileInfo>

ReadingSession::ReadingSession(BookStore &store, Shelf &shelf, ListBox &chapterList, EditBox &pane,
                               ListWindow &findWindow, QObject *parent)
    : QObject(parent), store_(store), shelf_(shelf), chapterList_(chapterList), pane_(pane), findWindow_(findWindow)
{
    shelf_.SetRequestMaker(
        [this](const QString &folder, const QString &fileName) { return RequestFor(folder, fileName, nullptr); });
    connect(&shelf_, &Shelf::bookOpened, this, &ReadingSession::OnBookOpened);
    connect(&shelf_, &Shelf::openFailed, this, [this] {
        pendingPlace_ = nullptr;
        Q_EMIT openFailed();
    });
}

int ReadingSession::ShownChapter() const
{
    return chapterList_.Selection();
}

// The choices the book's record holds, and the headings removed under its rule.
BookRequest ReadingSession::RequestFor(const QString &folder, const QString &fileName, const OpenBook *reindex) const
{
    const std::optional<BookRecord> record = store_.Find(fileName);
    BookRequest request{folder, fileName, ChoicesOf(record), {}, {}};
    if (record && record->removedUnderRule == request.choices.rule.Key())
        request.removedHeadings = record->removedHeadings;
    if (reindex)
        request.reindex = *reindex;
    return request;
}

bool ReadingSession::OpenBookAt(int row, PlaceFinder place)
{
    pendingPlace_ = std::move(place);
    return shelf_.OpenBookAt(row);
}

void ReadingSession::OnBookSelected(int row)
{
    SaveShownPlace();
    OpenBookAt(row, OwnPlace());
}

void ReadingSession::OnChooseBookFolder(QWidget *window)
{
    SaveShownPlace();
    shelf_.OnOpenFolder(window);
}

bool ReadingSession::OnOpenBookFile(const QString &path)
{
    SaveShownPlace();
    pendingPlace_ = OwnPlace();
    return shelf_.OpenBookFile(path);
}

void ReadingSession::OnOpenFolder(const QString &folder)
{
    SaveShownPlace();
    shelf_.ListFolder(folder);
}

void ReadingSession::OnChooseScript(std::optional<ScriptConversion> script)
{
    if (!HasBook())
        return;
    book_.shownScript = script;
    store_.Update(book_.fileName, [&script](BookRecord &record) { record.script = ScriptKey(script); });
    const qsizetype top = pane_.FirstVisibleTextPosition();
    ShowChapter(book_, chapterList_, pane_, ShownChapter());
    pane_.ScrollToTextPosition(top);
    Q_EMIT scriptChanged();
}

ShownPlace PlaceIn(const OpenBook &book, const BookRecord &record)
{
    return ShownPlace{book.ResolveChapter(record.chapter, record.chapterTitle), record.line, record.position};
}

PlaceFinder ReadingSession::OwnPlace() const
{
    return [this](const OpenBook &book) {
        const std::optional<BookRecord> record = store_.Find(book.fileName);
        if (!record)
            return ShownPlace{};
        return PlaceIn(book, *record);
    };
}

void ReadingSession::ReadAgain(PlaceFinder place)
{
    pendingPlace_ = std::move(place);
    shelf_.Reload(RequestFor(book_.folder, book_.fileName, nullptr));
}

void ReadingSession::CutAgain(PlaceFinder place)
{
    pendingPlace_ = std::move(place);
    shelf_.Reload(RequestFor(book_.folder, book_.fileName, &book_));
}

void ReadingSession::OnBookOpened(const OpenBook &book)
{
    book_ = book;
    book_.shownScript = ScriptFromKey(store_.Find(book_.fileName).value_or(BookRecord{}).script);
    ClearFind(find_, findWindow_);
    const ShownPlace place = pendingPlace_ ? pendingPlace_(book_) : ShownPlace{};
    pendingPlace_ = nullptr;
    ShowIndex(book_, chapterList_, pane_, place.chapter);
    if (place.position >= 0)
        pane_.ScrollToTextPosition(place.position);
    else if (!pane_.Text().isEmpty())
        pane_.ScrollLines(place.line);
    shownAt_ = PlaceOnScreen();
    // The book's first record, or the place as measured here, is no move of
    // the user's: another computer's later move still wins over it.
    SettleShownPlace();
    store_.NoteRecentBook(QFileInfo(book_.folder + book_.fileName).absoluteFilePath());
    Q_EMIT bookShown();
}

void ReadingSession::OnChapterSelected()
{
    ::OnChapterSelected(book_, chapterList_, pane_);
}

void ReadingSession::OnContentKeyUp(int virtualKey, int modifiers)
{
    ::OnContentKeyUp(book_, chapterList_, pane_, virtualKey, modifiers);
}

void ReadingSession::OnContentPagedPast(int direction)
{
    ::OnContentPagedPast(book_, chapterList_, pane_, direction);
}

void ReadingSession::OnChapterListKeyUp(int virtualKey, int modifiers)
{
    ::OnChapterListKeyUp(book_, chapterList_, virtualKey, modifiers);
}

void ReadingSession::OnRestoreRemovedHeadings()
{
    ::OnRestoreRemovedHeadings(book_, chapterList_, pane_);
}

void ReadingSession::OnSearch(const QString &term)
{
    ::OnSearch(book_, find_, findWindow_, term);
}

void ReadingSession::OnHitPicked(int index)
{
    ::OnHitPicked(book_, find_, chapterList_, pane_, index);
}

void ReadingSession::OnFindAgain(int direction)
{
    ::OnFindAgain(book_, find_, findWindow_, chapterList_, pane_, direction);
}

std::optional<BookRecord> ReadingSession::RecordWithShownPlace() const
{
    if (!saving_ || !HasBook())
        return std::nullopt;
    BookRecord record = store_.Find(book_.fileName).value_or(BookRecord{});
    const BookRecord stored = record;
    record.size = book_.fileSize;
    record.modified = book_.fileModified;
    record.chapter = chapterList_.Selection();
    record.chapterTitle = book_.ChapterTitle(record.chapter);
    record.line = pane_.FirstVisibleLine();
    record.position = pane_.FirstVisibleTextPosition();
    // Headings removed under another rule stay in the record for that rule,
    // until some are removed under this one.
    if (!book_.removedHeadings.isEmpty() || record.removedUnderRule == book_.rule.Key()) {
        record.removedHeadings = book_.removedHeadings;
        record.removedUnderRule = book_.rule.Key();
    }
    if (record == stored)
        return std::nullopt;
    record.lastRead = QDateTime::currentMSecsSinceEpoch();
    return record;
}

void ReadingSession::SaveShownPlace()
{
    if (const std::optional<BookRecord> record = RecordWithShownPlace())
        store_.Put(book_.fileName, *record, MovedSinceShown());
}

void ReadingSession::SettleShownPlace()
{
    if (const std::optional<BookRecord> record = RecordWithShownPlace())
        store_.PutUnmarked(book_.fileName, *record);
}

ShownPlace ReadingSession::PlaceOnScreen() const
{
    return ShownPlace{ShownChapter(), pane_.FirstVisibleLine(), pane_.FirstVisibleTextPosition()};
}

// A new width or font wraps the lines anew, and the top line then starts a
// little elsewhere in the same paragraph: only leaving it is a move.
bool ReadingSession::MovedSinceShown() const
{
    const ShownPlace now = PlaceOnScreen();
    if (now.chapter != shownAt_.chapter)
        return true;
    const QString text = pane_.Text();
    const qsizetype from = qBound(qsizetype(0), qMin(now.position, shownAt_.position), text.size());
    const qsizetype to = qBound(from, qMax(now.position, shownAt_.position), text.size());
    return QStringView(text).sliced(from, to - from).contains(u'\n');
}

void ReadingSession::ShowPlace(const ShownPlace &place)
{
    ShowChapter(book_, chapterList_, pane_, place.chapter);
    if (place.position >= 0)
        pane_.ScrollToTextPosition(place.position);
    else
        pane_.ScrollLines(place.line);
    shownAt_ = PlaceOnScreen();
    SettleShownPlace();
}

void ReadingSession::Close()
{
    SaveShownPlace();
    saving_ = false;
    shelf_.StopLoading();
}
