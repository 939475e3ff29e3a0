#include "app/Startup.h"

#include "app/BookFromOutside.h"
#include "app/BookSyncing.h"
#include "app/FirstStartGuide.h"
#include "app/Log.h"
#include "app/ReaderState.h"
#include "app/TypographySettings.h"
#include "core/Settings.h"
#include "layout/RegisterLayout.h"
#include "session/ReadingSession.h"
#include "shelf/Shelf.h"
#include "tools/Appearance.h"
#include "tools/HotKey.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/MessageStrip.h"
#include "ui/NotifyLabel.h"
#include "ui/ReaderControls.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QTimer>

namespace {

// How often a missing book folder is looked for.
constexpr int kFolderPollMs = 2000;

// Each item only when remembered; the pane otherwise keeps its designed look.
void ApplyAppearance(const Settings &remembered, EditBox &pane)
{
    if (!remembered.fontName.isEmpty())
        pane.SetFontName(remembered.fontName);
    if (remembered.fontSize)
        pane.SetFontSize(*remembered.fontSize);
    if (remembered.textColour)
        pane.SetTextColour(*remembered.textColour);
    if (remembered.backgroundColour)
        pane.SetBackgroundColour(*remembered.backgroundColour);
    pane.SetTextTypography(TypographyFrom(remembered));
}

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

// The book to reopen: the one at 书, unless 书名 names another book of the
// list, found by its exact name, else ignoring the case of ASCII letters.
int RememberedBookIndex(const ListBox &bookList, const Settings &remembered)
{
    const int index = remembered.book.value_or(0);
    const QString &name = remembered.bookName;
    if (name.isEmpty() || bookList.ItemText(index) == name)
        return index;
    for (const bool exactly : {true, false}) {
        for (int i = 0; i < bookList.Count(); ++i) {
            const QString item = bookList.ItemText(i);
            if (exactly ? item == name : SameIgnoringAsciiCase(item, name))
                return i;
        }
    }
    return index;
}

// The remembered place in the book reopened: config.ini's chapter and line,
// or the book's own record when that is newer (the reader was killed after
// reading on) or names the same place by its text, which holds under a
// typography changed since. Without a remembered chapter: chapter 0, not
// scrolled.
PlaceFinder RememberedPlace(BookStore &store, const Settings &remembered, qint64 settingsTime)
{
    return [&store, remembered, settingsTime](const OpenBook &book) {
        const std::optional<BookRecord> record = store.Find(book.fileName);
        if (record && record->lastRead > settingsTime)
            return PlaceIn(book, *record);
        if (!remembered.chapter)
            return ShownPlace{};
        ShownPlace place{book.ResolveChapter(*remembered.chapter, remembered.chapterTitle), remembered.line};
        if (record && record->line == remembered.line && PlaceIn(book, *record).chapter == place.chapter)
            place.position = record->position;
        return place;
    };
}

// Lists the remembered folder and starts reopening the remembered book;
// returns whether it is being opened.
bool ReopenBook(ReaderState &state, ListBox &bookList, ReadingSession &session, const SettingTexts &texts,
                qint64 settingsTime)
{
    const Settings remembered = SettingsFrom(texts);
    session.BookShelf().FillBookList(remembered.bookDirectory);
    state.rememberedPlace = texts;
    const int book = RememberedBookIndex(bookList, remembered);
    if (!remembered.book || book < 0) {
        state.rememberedPlace.reset(); // no book to go back to
        return false;
    }
    // Not opened (its folder or file is missing): the remembered place is
    // kept for the next start.
    return session.OpenBookAt(book, RememberedPlace(state.store, remembered, settingsTime));
}

// The book named on the command line, opened in place of the remembered one
// when it is a book; returns whether it is being opened. Should it not be
// shown after all, config.ini's place is kept, as for a remembered book.
bool OpenNamedBook(ReaderState &state, MessageStrip &strip, ReadingSession &session)
{
    if (state.bookToOpen.isEmpty() || !OpenBookFromOutside(session, strip, state.bookToOpen))
        return false;
    state.rememberedPlace = state.startupReading.texts;
    return true;
}

// A book folder that is not there (a drive not mounted) is looked for now and
// then; once it is back it is listed and the reader goes back to its place in
// it, unless the user has chosen another folder meanwhile.
void AwaitMissingFolder(ReaderState &state, ListBox &bookList, ReadingSession &session, const SettingTexts &texts,
                        qint64 settingsTime)
{
    const QString folder = session.BookShelf().BookDirectory();
    auto *poll = new QTimer(&session);
    QObject::connect(poll, &QTimer::timeout, &session, [=, &state, &bookList, &session] {
        if (session.BookShelf().BookDirectory() != folder) {
            poll->deleteLater();
            return;
        }
        if (!QFileInfo(folder).isDir())
            return;
        poll->deleteLater();
        qCInfo(lcApp) << "the book folder" << folder << "is back";
        session.Pane().SetText(QString());
        bookList.DeleteAll();
        if (state.rememberedPlace)
            ReopenBook(state, bookList, session, texts, settingsTime);
        else
            session.BookShelf().FillBookList(folder);
    });
    poll->start(kFolderPollMs);
}

// The pane stretches with the window; the chapter list keeps its width and
// lets its bottom edge follow the window's; the message strip keeps its
// height below the pane.
void RegisterLayouts(ReaderState &state, const ReaderControls &controls)
{
    RegisterLayout(state.layoutTable, state.windowSystem, HandleOf(controls.编辑框_内容), ANCHOR_PARENT, ANCHOR_PARENT,
                   ANCHOR_PARENT, ANCHOR_PARENT);
    RegisterLayout(state.layoutTable, state.windowSystem, HandleOf(controls.列表框_章节), ANCHOR_PARENT, ANCHOR_PARENT,
                   ANCHOR_KEEP_SIZE, ANCHOR_PARENT);
    RegisterLayout(state.layoutTable, state.windowSystem, HandleOf(controls.标签_提示), ANCHOR_PARENT, ANCHOR_KEEP_SIZE,
                   ANCHOR_PARENT, ANCHOR_PARENT);
}

void FinishStartup(ReaderState &state, const ReadingSession &session)
{
    state.startedUp = true;
    if (session.HasBook())
        qCInfo(lcApp).nospace() << "start-up finished, chapter " << session.ShownChapter() << " shown";
    else
        qCInfo(lcApp) << "start-up finished";
}

// Start-up has finished at once when no book is being reopened; else with the
// first book shown, or the first opening that fails or is stopped, whichever
// book the user opened last.
void FinishOnceShown(ReaderState &state, ReadingSession &session, bool reopening)
{
    if (!reopening)
        return FinishStartup(state, session);
    const auto finish = [&state, &session] {
        if (!state.startedUp)
            FinishStartup(state, session);
    };
    QObject::connect(&session, &ReadingSession::bookShown, &session, finish, Qt::SingleShotConnection);
    QObject::connect(&session, &ReadingSession::openFailed, &session, finish, Qt::SingleShotConnection);
}

} // namespace

void BeginStartup(ReaderState &state, const ReaderControls &controls, ReadingSession &session)
{
    StartupReading &reading = state.startupReading;
    state.SettingsPath = SettingsPathFor(QCoreApplication::applicationDirPath());
    const QFileInfo settingsFile(state.SettingsPath);
    reading.settingsExisted = settingsFile.exists();
    reading.settingsTime = reading.settingsExisted ? settingsFile.lastModified().toMSecsSinceEpoch() : 0;
    reading.texts = ReadSettingTexts(state.SettingsPath);
    state.hotKey.Remember(SettingsFrom(reading.texts).hotKey);
    // A store that cannot keep places (read-only, locked, damaged) says so below the pane.
    MessageStrip *strip = controls.标签_提示;
    QObject::connect(&state.store, &BookStore::problem, strip,
                     [strip](const QString &text) { strip->ShowMessage(text); });
    state.store.Open(BookStorePathFor(state.SettingsPath));
    StartSync(state, *controls.标签_提示);
    reading.reopening = OpenNamedBook(state, *controls.标签_提示, session)
        || (!SettingsFrom(reading.texts).bookDirectory.isEmpty()
            && ReopenBook(state, *controls.列表框_文件, session, reading.texts, reading.settingsTime));
}

void OnStartup(ReaderState &state, const ReaderControls &controls, ReadingSession &session)
{
    const StartupReading &reading = state.startupReading;
    RegisterLayouts(state, controls);
    // The font and typography decide how lines wrap, so they must be in
    // place before the reopened book is scrolled to the remembered line.
    const Settings remembered = SettingsFrom(reading.texts);
    ApplyAppearance(remembered, *controls.编辑框_内容);
    session.Scrolling().SetSpeed(remembered.autoScrollSpeed);
    session.Aloud().SetRate(remembered.speechRate);
    session.Aloud().SetVoice(remembered.voice);
    ColourWindowLikePane(*controls.编辑框_内容, *controls.列表框_文件, *controls.列表框_章节);
    // A folder the settings remember may be on a drive not mounted yet; the
    // folder of a first run is only a suggestion.
    const QString &folder = session.BookShelf().BookDirectory();
    if (reading.settingsExisted && !folder.isEmpty() && !QFileInfo(folder).isDir()) {
        session.Pane().SetText(MissingFolderNotice(folder));
        AwaitMissingFolder(state, *controls.列表框_文件, session, reading.texts, reading.settingsTime);
    } else {
        ShowGuideWithoutBooks(session, *controls.列表框_文件, state.SettingsPath);
    }
    state.hotKey.Claim(controls.mainWindow, controls.标签_热键反馈);
    FinishOnceShown(state, session, reading.reopening);
}
