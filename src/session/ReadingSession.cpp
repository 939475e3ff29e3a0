#include "session/ReadingSession.h"

#include "core/BookKey.h"
#include "core/BookStore.h"
#include "core/Log.h"
#include "platform/SpeechEngine.h"
#include "platform/VirtualKeyCodes.h"
#include "session/Log.h"
#include "shelf/Shelf.h"

#include <QDateTime>
#include <QFileInfo>
#include <QScopedValueRollback>

ReadingSession::ReadingSession(BookStore &store, Shelf &shelf, Preferences &preferences,
                               std::unique_ptr<SpeechEngine> speech, QObject *parent)
    : QObject(parent), store_(store), shelf_(shelf), preferences_(preferences), speech_(std::move(speech)),
      readAloud_(*this, *speech_)
{
    shelf_.SetRequestMaker(
        [this](const QString &folder, const QString &fileName) { return RequestFor(folder, fileName, nullptr); });
    shelf_.Books().SetRecordReader([this](const QString &key) { return store_.Find(key); });
    connect(&shelf_, &Shelf::bookPreviewed, this, &ReadingSession::OnBookPreviewed);
    connect(&shelf_, &Shelf::bookOpened, this, &ReadingSession::OnBookOpened);
    connect(&shelf_, &Shelf::openFailed, this, [this] {
        pendingPlace_ = nullptr;
        // A preview left on screen keeps its place unsaved; nothing waits.
        afterPreview_.clear();
        Q_EMIT openFailed();
    });
}

ReadingSession::~ReadingSession() = default;

// The choices the book's record holds, and the headings removed under its rule.
BookRequest ReadingSession::RequestFor(const QString &folder, const QString &fileName, const OpenBook *reindex)
{
    const std::optional<BookRecord> record = store_.Find(BookKey(folder, fileName));
    BookRequest request = RecordedRequest(folder, fileName, record);
    if (reindex)
        request.reindex = *reindex;
    else if (std::exchange(previewWanted_, false)) {
        request.previewOf = record;
        request.firstScreen = !record;
    }
    return request;
}

void ReadingSession::ShowText(CleanedText text)
{
    editing_.OnPaneTaken();
    shown_ = std::move(text);
    Q_EMIT textShown(shown_.Shown());
}

QStringView ReadingSession::ShownOriginal() const
{
    const std::optional<TextRange> range = book_.ChapterRange(shownChapter_);
    if (!HasBook() || !range)
        return shown_.Shown();
    return QStringView(book_.BookText).sliced(range->start, range->end - range->start);
}

void ReadingSession::SetShownChapter(int n)
{
    if (n != shownChapter_)
        SelectChapter(n);
}

void ReadingSession::SelectChapter(int n)
{
    shownChapter_ = n;
    NoteMove();
    Q_EMIT shownChapterChanged(n);
}

bool ReadingSession::PutChapter(int n)
{
    if (book_.BookText.isEmpty() || !book_.ChapterRange(n))
        return false;
    QList<CleanupRule> ranAway;
    ShowText(book_.ShownChapter(n, &ranAway));
    SetShownChapter(n);
    if (!ranAway.isEmpty()) {
        // Shown without them already; later chapters are too.
        cleanup_.SwitchOff(ranAway);
        book_.cleaner = cleanup_.CleanerFor(book_);
    }
    return true;
}

void ReadingSession::ShowChapter(int n)
{
    PutChapter(n);
}

void ReadingSession::ShowIndex(int n)
{
    chapters_.ShowIndexOf(book_);
    const int shown = book_.ChapterRange(n) ? n : 0;
    // The list was rebuilt: its selection goes back to the chapter shown.
    SelectChapter(book_.ChapterRange(shown) ? shown : -1);
    // An empty book has nothing to show, and the previous book must not stay.
    if (book_.BookText.isEmpty())
        ShowText(CleanedText());
    PutChapter(shown);
}

void ReadingSession::ShowNotice(const QString &text)
{
    ShowText(CleanedText(text));
}

void ReadingSession::ScrollTo(qsizetype position)
{
    Q_EMIT scrollRequested(shown_.ShownPosition(position));
}

void ReadingSession::SelectText(qsizetype position, qsizetype length)
{
    const qsizetype start = shown_.ShownPosition(position);
    Q_EMIT selectionRequested(start, shown_.ShownPosition(position + length) - start);
}

bool ReadingSession::OpenBookAt(int row, PlaceFinder place, bool preview)
{
    pendingPlace_ = std::move(place);
    previewWanted_ = preview;
    const bool begun = shelf_.OpenBookAt(row);
    previewWanted_ = false;
    return begun;
}

void ReadingSession::OnBookSelected(int row)
{
    SaveShownPlace();
    OpenBookAt(row, OwnPlace(), true);
}

bool ReadingSession::OnOpenBookFile(const QString &path)
{
    jumps_.NoteJumpFromHere();
    SaveShownPlace();
    pendingPlace_ = OwnPlace();
    previewWanted_ = true;
    const bool begun = shelf_.OpenBookFile(path);
    previewWanted_ = false;
    return begun;
}

bool ReadingSession::OpenBookFileAt(const QString &path, const ShownPlace &place)
{
    SaveShownPlace();
    pendingPlace_ = [place](const OpenBook &) { return place; };
    return shelf_.OpenBookFile(path);
}

bool ReadingSession::GoToPlace(const QString &path, const ShownPlace &place)
{
    if (!HasBook() || QFileInfo(book_.folder + book_.fileName).absoluteFilePath() != QFileInfo(path).absoluteFilePath())
        return OpenBookFileAt(path, place);
    if (DeferredForBook([this, path, place] { GoToPlace(path, place); }))
        return true;
    if (place.chapter != shownChapter_)
        ShowChapter(place.chapter);
    ShowPosition(place);
    return true;
}

void ReadingSession::ShowPosition(const ShownPlace &place)
{
    ScrollTo(place.position);
    if (place.selected > 0)
        SelectText(place.position, place.selected);
}

void ReadingSession::JumpToChapter(int n)
{
    if (DeferredForBook([this, n] { JumpToChapter(n); }))
        return;
    if (!book_.ChapterRange(n))
        return;
    jumps_.NoteJumpFromHere();
    ShowChapter(n);
}

void ReadingSession::OnOpenFolder(const QString &folder)
{
    SaveShownPlace();
    shelf_.ListFolder(folder);
}

ShownPlace PlaceIn(const OpenBook &book, const BookRecord &record)
{
    return ShownPlace{book.ResolveChapter(record.chapter, record.chapterTitle), record.line, record.position};
}

PlaceFinder ReadingSession::OwnPlace() const
{
    return [this](const OpenBook &book) {
        const std::optional<BookRecord> record = store_.Find(book.RecordKey());
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

// A preview is no book to cut: the book is, once it is there.
void ReadingSession::CutAgain(PlaceFinder place)
{
    if (DeferredForBook([this, place] { CutAgain(place); }))
        return;
    pendingPlace_ = std::move(place);
    shelf_.Reload(RequestFor(book_.folder, book_.fileName, &book_));
}

// Shown as the book will be (its script and rules), at the record's place;
// a book without one at its start.
void ReadingSession::OnBookPreviewed(const OpenBook &preview)
{
    const std::optional<BookRecord> record = store_.Find(preview.RecordKey());
    book_ = preview;
    book_.shownScript = ScriptFromKey(record.value_or(BookRecord{}).script);
    book_.cleaner = cleanup_.CleanerFor(book_);
    previewing_ = true;
    {
        const QScopedValueRollback showing(showingPlace_, true);
        ShowIndex(0);
        const ShownPlace place = record ? PlaceIn(book_, *record) : ShownPlace{};
        if (place.position >= 0)
            ShowPosition(place);
        else
            Q_EMIT scrollLinesRequested(place.line);
    }
    ShownWhereNobodyMoved();
}

bool ReadingSession::TakeOverPreview(int chapter)
{
    CleanedText shown = book_.ShownChapter(chapter);
    if (!book_.ChapterRange(chapter) || !shown.Shown().startsWith(shown_.Shown()))
        return false;
    // The pane keeps its text and its line; only the list fills. A first
    // screen that stopped short of its chapter's end gets the rest below.
    const bool grows = shown.Shown().size() > shown_.Shown().size();
    const qsizetype top = topPosition_;
    chapters_.ShowIndexOf(book_);
    {
        const QScopedValueRollback showing(showingPlace_, true);
        if (grows)
            ShowText(std::move(shown));
        else
            shown_ = std::move(shown);
        SelectChapter(chapter);
        if (grows)
            ScrollTo(top);
    }
    // The preview had none, its positions not being the book's.
    Q_EMIT highlights_.changed();
    // A move made in the preview stays the user's.
    if (movedAt_)
        lastPlace_ = PlaceOnScreen();
    else
        ShownWhereNobodyMoved();
    return true;
}

bool ReadingSession::DeferredForBook(std::function<void()> act)
{
    if (!previewing_)
        return false;
    afterPreview_.append(std::move(act));
    return true;
}

void ReadingSession::OnBookOpened(const OpenBook &book)
{
    book_ = book;
    book_.shownScript = ScriptFromKey(store_.Find(book_.RecordKey()).value_or(BookRecord{}).script);
    book_.cleaner = cleanup_.CleanerFor(book_);
    Q_EMIT cleanup_.showsOriginalChanged(cleanup_.ShowsOriginal());
    find_.Clear();
    const ShownPlace place = pendingPlace_ ? pendingPlace_(book_) : ShownPlace{};
    pendingPlace_ = nullptr;
    const bool tookOver = std::exchange(previewing_, false) && TakeOverPreview(place.chapter);
    const QList<std::function<void()>> waiting = std::exchange(afterPreview_, {});
    if (tookOver) {
        SettleShownPlace();
        store_.NoteRecentBook(QFileInfo(book_.folder + book_.fileName).absoluteFilePath());
        Q_EMIT bookShown();
        for (const std::function<void()> &act : waiting)
            act();
        return;
    }
    {
        const QScopedValueRollback showing(showingPlace_, true);
        ShowIndex(place.chapter);
        if (place.position >= 0)
            ShowPosition(place);
        else if (!ShownText().isEmpty())
            Q_EMIT scrollLinesRequested(place.line);
    }
    ShownWhereNobodyMoved();
    // The book's first record, or the place as measured here, is no move of
    // the user's: another computer's later move still wins over it.
    SettleShownPlace();
    store_.NoteRecentBook(QFileInfo(book_.folder + book_.fileName).absoluteFilePath());
    Q_EMIT bookShown();
}

void ReadingSession::OnChapterSelected(int row)
{
    if (DeferredForBook([this, row] { OnChapterSelected(row); }))
        return;
    // A row that shows nothing leaves the list's selection on the chapter shown.
    if (!PutChapter(row))
        Q_EMIT shownChapterChanged(shownChapter_);
}

void ReadingSession::OnContentKeyUp(int virtualKey, int modifiers)
{
    if (modifiers & Qt::AltModifier)
        return;
    if (DeferredForBook([this, virtualKey, modifiers] { OnContentKeyUp(virtualKey, modifiers); }))
        return;
    if (virtualKey == VK_LEFT)
        ShowChapter(book_.ChapterBefore(shownChapter_));
    else if (virtualKey == VK_RIGHT)
        ShowChapter(book_.ChapterAfter(shownChapter_));
}

void ReadingSession::OnContentPagedPast(int direction)
{
    if (DeferredForBook([this, direction] { OnContentPagedPast(direction); }))
        return;
    const int next = shownChapter_ + direction;
    if (next < 0 || next >= book_.ChapterCount() || !PutChapter(next))
        return;
    // Paging back reads on backwards: the chapter before ends where it was left.
    if (direction < 0)
        Q_EMIT scrollToEndRequested();
}

void ReadingSession::OnChapterListKeyUp(int virtualKey, int)
{
    if (DeferredForBook([this, virtualKey] { OnChapterListKeyUp(virtualKey, 0); }))
        return;
    const int selected = shownChapter_;
    if (virtualKey != VK_DELETE || !book_.RemoveChapter(selected))
        return;
    chapters_.RemoveTitle(selected);
    // The chapter before now runs on through the removed heading's text, which
    // is what the pane shows: select it, and the next step goes on from there.
    SelectChapter(selected - 1);
}

void ReadingSession::OnTopLineMoved(int line, qsizetype position)
{
    const qsizetype own = shown_.TextPosition(position);
    if (line == topLine_ && own == topPosition_)
        return;
    topLine_ = line;
    topPosition_ = own;
    NoteMove();
    Q_EMIT topLineMoved();
}

// A new width or font wraps the lines anew, and the top line then starts a
// little elsewhere in the same paragraph: only leaving it is a move. Only the
// stretch between the two places is looked at.
void ReadingSession::NoteMove()
{
    if (showingPlace_)
        return;
    const QStringView text = ShownOriginal();
    const qsizetype from = qBound(qsizetype(0), qMin(topPosition_, lastPlace_.position), text.size());
    const qsizetype to = qBound(from, qMax(topPosition_, lastPlace_.position), text.size());
    if (shownChapter_ == lastPlace_.chapter && !text.sliced(from, to - from).contains(u'\n'))
        return;
    lastPlace_ = PlaceOnScreen();
    movedAt_ = QDateTime::currentMSecsSinceEpoch();
}

void ReadingSession::ShownWhereNobodyMoved()
{
    lastPlace_ = PlaceOnScreen();
    movedAt_.reset();
}

void ReadingSession::OnRestoreRemovedHeadings()
{
    if (book_.removedHeadings.isEmpty())
        return;
    const std::optional<TextRange> shown = book_.ChapterRange(shownChapter_);
    book_.RestoreRemovedHeadings();
    ShowIndex(shown ? book_.ChapterAt(shown->start) : 0);
}

void ReadingSession::OnChooseScript(std::optional<ScriptConversion> script)
{
    if (!HasBook()) {
        if (script)
            ShowNotice(ConvertScript(ShownText(), *script));
        return;
    }
    book_.shownScript = script;
    store_.Update(book_.RecordKey(), [&script](BookRecord &record) { record.script = ScriptKey(script); });
    ShowAgainInPlace();
    Q_EMIT scriptChanged();
}

void ReadingSession::CleanAnew()
{
    if (!HasBook())
        return;
    book_.cleaner = cleanup_.CleanerFor(book_);
    chapters_.ShowIndexOf(book_);
    SelectChapter(shownChapter_);
    ShowAgainInPlace();
}

// The same place in other characters or under other rules.
void ReadingSession::ShowAgainInPlace()
{
    const qsizetype top = topPosition_;
    {
        const QScopedValueRollback showing(showingPlace_, true);
        if (PutChapter(shownChapter_))
            ScrollTo(top);
    }
    lastPlace_ = PlaceOnScreen();
}

std::optional<BookRecord> ReadingSession::RecordWithShownPlace() const
{
    // A preview's place is the record's own, measured on a part of the book.
    if (!saving_ || !HasBook() || previewing_)
        return std::nullopt;
    BookRecord record = store_.Find(book_.RecordKey()).value_or(BookRecord{});
    const BookRecord stored = record;
    record.size = book_.fileSize;
    record.modified = book_.fileModified;
    record.chapter = shownChapter_;
    record.chapterTitle = book_.ChapterTitle(record.chapter);
    record.line = topLine_;
    record.position = topPosition_;
    record.filePlace = book_.FilePlaceOf(shownChapter_, topPosition_).value_or(FilePlace{});
    record.progress = Progress();
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
    if (const std::optional<BookRecord> record = RecordWithShownPlace()) {
        store_.Put(book_.RecordKey(), *record, movedAt_);
        shelf_.RefreshOpenRow();
    }
}

void ReadingSession::SettleShownPlace()
{
    if (const std::optional<BookRecord> record = RecordWithShownPlace()) {
        store_.PutUnmarked(book_.RecordKey(), *record);
        shelf_.RefreshOpenRow();
    }
}

qsizetype ReadingSession::TopPositionInBook() const
{
    const std::optional<TextRange> range = book_.ChapterRange(shownChapter_);
    return range ? range->start + topPosition_ : 0;
}

ShownPlace ReadingSession::PlaceOnScreen() const
{
    return ShownPlace{shownChapter_, topLine_, topPosition_};
}

void ReadingSession::ShowPlace(const ShownPlace &place)
{
    if (DeferredForBook([this, place] { ShowPlace(place); }))
        return;
    {
        const QScopedValueRollback showing(showingPlace_, true);
        ShowChapter(place.chapter);
        if (place.position >= 0)
            ShowPosition(place);
        else
            Q_EMIT scrollLinesRequested(place.line);
    }
    ShownWhereNobodyMoved();
    SettleShownPlace();
}

void ReadingSession::Close()
{
    SaveShownPlace();
    saving_ = false;
    shelf_.StopLoading();
}

namespace {

bool ChoicesDiffer(const BookRecord &a, const BookRecord &b)
{
    return a.encoding != b.encoding || a.chapterRule != b.chapterRule || a.removedHeadings != b.removedHeadings
        || a.removedUnderRule != b.removedUnderRule || a.script != b.script;
}

} // namespace

bool ReadingSession::OnRecordSynced(const QString &name, const BookRecord &before)
{
    if (!HasBook() || book_.RecordKey() != name)
        return false;
    const BookRecord merged = store_.Find(name).value_or(BookRecord{});
    // The other computer's place is followed unless the user has moved here
    // since it was made there.
    const bool follow =
        merged.changes.place != before.changes.place && (!movedAt_ || *movedAt_ < merged.changes.place.time);
    if (!follow)
        SaveShownPlace();
    if (ChoicesDiffer(merged, before)) {
        qCInfo(lcSession) << "reading" << LoggedPath(name) << "again with another computer's choices";
        ReadAgain(OwnPlace());
        return follow;
    }
    if (follow) {
        qCInfo(lcSession) << "following another computer to its place in" << LoggedPath(name);
        jumps_.NoteJumpFromHere();
        ShowPlace(PlaceIn(book_, merged));
    }
    return follow;
}
