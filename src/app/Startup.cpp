#include "app/Startup.h"

#include "app/BookFromOutside.h"
#include "app/BookSyncing.h"
#include "app/FirstStartGuide.h"
#include "app/Log.h"
#include "app/ReaderServices.h"
#include "core/Log.h"
#include "layout/RegisterLayout.h"
#include "session/ReadingSession.h"
#include "shelf/Shelf.h"
#include "tools/Appearance.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/MessageStrip.h"
#include "ui/NotifyLabel.h"
#include "ui/ReaderControls.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>

namespace {

// How often a missing book folder is looked for.
constexpr int kFolderPollMs = 2000;

bool SameIgnoringAsciiCase(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t x = a[i].unicode(), y = b[i].unicode();
        const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
        if (lower(x) != lower(y))
            return false;
    }
    return true;
}

// The book to reopen and whether config.ini's chapter and line are its
// place: they are when 书名 names it, or is empty (a file from before names
// were kept).
struct RememberedBook {
    int row = -1;
    bool placeIsItsOwn = true;
};

// The book at 书, unless 书名 names another book of the list, found by its
// exact name, else ignoring the case of ASCII letters. A 书名 that names no
// book of the list (renamed, gone) leaves the book at 书, whose place
// config.ini does not know.
RememberedBook RememberedBookIn(const BookListModel &books, const Settings &remembered)
{
    const int row = remembered.book.value_or(0);
    const QString &name = remembered.bookName;
    if (name.isEmpty() || books.Entry(row) == name)
        return {row};
    for (const bool exactly : {true, false}) {
        for (int i = 0; i < books.Count(); ++i) {
            const QString item = books.Entry(i);
            if (exactly ? item == name : SameIgnoringAsciiCase(item, name))
                return {i};
        }
    }
    return {row, false};
}

// Whether the book's record, rather than config.ini, holds the place it
// reopens at: when it is newer (the reader was killed after reading on), or
// config.ini's place is another book's.
bool RecordHoldsPlace(const std::optional<BookRecord> &record, qint64 settingsTime, bool placeIsItsOwn)
{
    return record && (record->lastRead > settingsTime || !placeIsItsOwn);
}

// Whether the chapter the record remembers is the one the book reopens at,
// so that the record's preview of it is what the book then shows.
bool PreviewHolds(const std::optional<BookRecord> &record, const Settings &remembered, qint64 settingsTime,
                  bool placeIsItsOwn)
{
    if (!record || RecordHoldsPlace(record, settingsTime, placeIsItsOwn))
        return record.has_value();
    return remembered.chapterTitle == record->chapterTitle && remembered.line == record->line;
}

// The remembered place in the book reopened: config.ini's chapter and line,
// or the book's own record when that is newer (the reader was killed after
// reading on) or names the same place by its text, which holds under a
// typography changed since. Without a remembered chapter: chapter 0, not
// scrolled. A book whose place config.ini does not hold opens at its record's
// place, or at its start without one: never at another book's.
PlaceFinder RememberedPlace(BookStore &store, const Settings &remembered, qint64 settingsTime, bool placeIsItsOwn)
{
    return [&store, remembered, settingsTime, placeIsItsOwn](const OpenBook &book) {
        const std::optional<BookRecord> record = store.Find(book.RecordKey());
        if (RecordHoldsPlace(record, settingsTime, placeIsItsOwn))
            return PlaceIn(book, *record);
        if (!placeIsItsOwn || !remembered.chapter)
            return ShownPlace{};
        ShownPlace place{book.ResolveChapter(*remembered.chapter, remembered.chapterTitle), remembered.line};
        if (record && record->line == remembered.line && PlaceIn(book, *record).chapter == place.chapter)
            place.position = record->position;
        return place;
    };
}

// Opens books.db beside config.ini. Records that earlier versions kept under
// a book's name alone belong to the books of the folder config.ini names,
// followed as the user chooses another.
void OpenBookStore(ReaderServices &services)
{
    Preferences &preferences = services.preferences;
    BookStore &store = services.store;
    store.Open(BookStorePathFor(preferences.Path()));
    store.SetNamedRecordsFolder(preferences.Values().bookDirectory);
    QObject::connect(&preferences, &Preferences::changed, &store, [&preferences, &store](SettingId id) {
        if (id == IdOf(&Settings::bookDirectory))
            store.SetNamedRecordsFolder(preferences.Values().bookDirectory);
    });
}

} // namespace

Startup::Startup(ReaderServices &services, const ReaderControls &controls, ReadingSession &session,
                 Appearance &appearance, QObject *parent)
    : QObject(parent), services_(services), controls_(controls), session_(session), appearance_(appearance)
{}

void Startup::Begin()
{
    Preferences &preferences = services_.preferences;
    preferences.Load(SettingsPathFor(QCoreApplication::applicationDirPath()));
    services_.hotKey.AdoptRemembered();
    // A store that cannot keep places (read-only, locked, damaged) says so below the pane.
    MessageStrip *strip = controls_.标签_提示;
    connect(&services_.store, &BookStore::problem, strip, [strip](const QString &text) { strip->ShowMessage(text); });
    OpenBookStore(services_);
    StartSync(services_, *controls_.标签_提示);
    Reopening reopening = Reopening::NothingToReopen;
    if (OpenNamedBook())
        reopening = Reopening::Begun;
    else if (!preferences.Values().bookDirectory.isEmpty())
        reopening = ReopenBook();
    // With no book to go back to, config.ini follows the reader at once; a
    // book that could not be reopened keeps its place for the next start.
    if (reopening == Reopening::NothingToReopen)
        session_.SettingsPlace().Follow();
    stage_ = reopening == Reopening::Begun ? Stage::Reopening : Stage::AwaitingWindow;
}

// Lists the remembered folder and starts reopening the remembered book.
Startup::Reopening Startup::ReopenBook()
{
    const Preferences &preferences = services_.preferences;
    const Settings remembered = preferences.Values();
    Shelf &shelf = session_.BookShelf();
    shelf.FillBookList(remembered.bookDirectory);
    const RememberedBook book = RememberedBookIn(shelf.Books(), remembered);
    if (!remembered.book || book.row < 0)
        return Reopening::NothingToReopen;
    // Not opened (its folder or file is missing): the remembered place is
    // kept for the next start.
    BookStore &store = services_.store;
    const qint64 settingsTime = preferences.FileTime();
    const bool preview =
        PreviewHolds(store.Find(shelf.RecordKeyAt(book.row)), remembered, settingsTime, book.placeIsItsOwn);
    const bool begun =
        session_.OpenBookAt(book.row, RememberedPlace(store, remembered, settingsTime, book.placeIsItsOwn), preview);
    return begun ? Reopening::Begun : Reopening::NotPossible;
}

// The book named on the command line, opened in place of the remembered one
// when it is a book. Should it not be shown after all, config.ini's place is
// kept, as for a remembered book.
bool Startup::OpenNamedBook()
{
    return !services_.bookToOpen.isEmpty() && OpenBookFromOutside(session_, *controls_.标签_提示, services_.bookToOpen);
}

void Startup::OnWindowShown()
{
    RegisterLayouts();
    // The font and typography decide how lines wrap, so they must be in
    // place before the reopened book is scrolled to the remembered line.
    appearance_.AdoptRemembered();
    const Settings &remembered = services_.preferences.Values();
    session_.Scrolling().SetSpeed(remembered.autoScrollSpeed);
    session_.Aloud().SetRate(remembered.speechRate);
    session_.Aloud().SetVoice(remembered.voice);
    // A folder the settings remember may be on a drive not mounted yet; the
    // folder of a first run is only a suggestion.
    const QString &folder = session_.BookShelf().BookDirectory();
    if (services_.preferences.FileExisted() && !folder.isEmpty() && !QFileInfo(folder).isDir()) {
        session_.ShowNotice(MissingFolderNotice(folder));
        AwaitMissingFolder();
    } else {
        ShowGuideWithoutBooks(session_, services_.preferences.Path());
    }
    services_.hotKey.Claim(controls_.mainWindow, controls_.标签_热键反馈);
    FinishOnceShown();
}

// A book folder that is not there (a drive not mounted) is looked for now and
// then; once it is back it is listed and the reader goes back to its place in
// it, unless the user has chosen another folder meanwhile.
void Startup::AwaitMissingFolder()
{
    Shelf &shelf = session_.BookShelf();
    const QString folder = shelf.BookDirectory();
    auto *poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this, poll, folder, &shelf] {
        if (shelf.BookDirectory() != folder) {
            poll->deleteLater();
            return;
        }
        if (!QFileInfo(folder).isDir())
            return;
        poll->deleteLater();
        qCInfo(lcApp) << "the book folder" << LoggedPath(folder) << "is back";
        session_.ShowNotice(QString());
        shelf.ClearBookList();
        if (session_.SettingsPlace().IsKeepingRemembered())
            ReopenBook();
        else
            shelf.FillBookList(folder);
    });
    poll->start(kFolderPollMs);
}

// The pane stretches with the window; the chapter list keeps its width and
// lets its bottom edge follow the window's; the message strip keeps its
// height below the pane.
void Startup::RegisterLayouts()
{
    LayoutTable &table = services_.layoutTable;
    QtWindowSystem &system = services_.windowSystem;
    RegisterLayout(table, system, HandleOf(controls_.编辑框_内容), ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_PARENT,
                   ANCHOR_PARENT);
    RegisterLayout(table, system, HandleOf(controls_.列表框_章节), ANCHOR_PARENT, ANCHOR_PARENT, ANCHOR_KEEP_SIZE,
                   ANCHOR_PARENT);
    RegisterLayout(table, system, HandleOf(controls_.标签_提示), ANCHOR_PARENT, ANCHOR_KEEP_SIZE, ANCHOR_PARENT,
                   ANCHOR_PARENT);
}

// Start-up has finished at once when no book is being reopened; else with the
// first book shown, or the first opening that fails or is stopped, whichever
// book the user opened last.
void Startup::FinishOnceShown()
{
    if (stage_ != Stage::Reopening)
        return Finish();
    // Told for the benchmark, which times it.
    connect(
        &session_.BookShelf(), &Shelf::bookPreviewed, this,
        [this] {
            if (!IsFinished() && session_.IsPreviewing())
                qCInfo(lcApp) << "start-up shows the remembered chapter from its bytes";
        },
        Qt::SingleShotConnection);
    const auto finish = [this] {
        if (!IsFinished())
            Finish();
    };
    connect(&session_, &ReadingSession::bookShown, this, finish, Qt::SingleShotConnection);
    connect(&session_, &ReadingSession::openFailed, this, finish, Qt::SingleShotConnection);
}

void Startup::Finish()
{
    stage_ = Stage::Finished;
    // Before, the screen is no place yet.
    services_.preferences.StartSaving();
    if (session_.HasBook())
        qCInfo(lcApp).nospace() << "start-up finished, chapter " << session_.ShownChapter() << " shown";
    else
        qCInfo(lcApp) << "start-up finished";
    Q_EMIT finished();
}
