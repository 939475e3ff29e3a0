#include "app/Startup.h"

#include "app/BookChoices.h"
#include "app/BookPlaces.h"
#include "app/FirstStartGuide.h"
#include "app/Log.h"
#include "app/ReaderState.h"
#include "app/Settings.h"
#include "layout/RegisterLayout.h"
#include "shelf/BookList.h"
#include "shelf/BookLoader.h"
#include "tools/Appearance.h"
#include "tools/HotKey.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/NotifyLabel.h"
#include "ui/ReaderControls.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>

namespace {

// Each item only when remembered; the pane otherwise keeps its designed look.
// A size or colour that is no number counts as not remembered: read as 0, a
// damaged file would paint black text on a black page.
void ApplyAppearance(const RememberedSettings &remembered, EditBox &pane)
{
    if (!remembered.fontName.isEmpty())
        pane.SetFontName(remembered.fontName);
    if (const std::optional<int> size = SettingNumber(remembered.fontSize))
        pane.SetFontSize(*size);
    if (const std::optional<int> colour = SettingNumber(remembered.textColour))
        pane.SetTextColour(*colour);
    if (const std::optional<int> colour = SettingNumber(remembered.backgroundColour))
        pane.SetBackgroundColour(*colour);
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
int RememberedBookIndex(const ListBox &bookList, const RememberedSettings &remembered)
{
    const int index = SettingNumber(remembered.book).value_or(0);
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

// The remembered place in the book just reopened: config.ini's chapter and
// line, or the book's own record when that is newer (the reader was killed
// after reading on).
void ShowRememberedPlace(ReaderState &state, const ReaderControls &controls, const RememberedSettings &remembered,
                         qint64 settingsTime)
{
    ApplyRemovedHeadings(state, controls);
    const std::optional<BookRecord> record = state.store.Find(state.book.fileName);
    if (record && record->lastRead > settingsTime)
        return ShowPlace(state, controls, record->chapter, record->chapterTitle, record->line);
    if (!remembered.chapter.isEmpty())
        ShowPlace(state, controls, SettingNumber(remembered.chapter).value_or(0), remembered.chapterTitle,
                  SettingNumber(remembered.line).value_or(0));
}

void ReopenBook(ReaderState &state, const ReaderControls &controls, const RememberedSettings &remembered,
                qint64 settingsTime)
{
    ListBox &bookList = *controls.列表框_文件;
    FillBookList(state.shelf, bookList, *controls.编辑框_路径, state.shelf.BookDirectory);
    const int book = RememberedBookIndex(bookList, remembered);
    if (remembered.book.isEmpty() || book < 0) {
        state.rememberedPlace.reset(); // no book to go back to
        return;
    }
    // Not opened (its folder or file is missing), or the window closed while
    // it was loading: the remembered place is kept for the next start.
    if (!OpenBookAt(state.shelf, state.book, bookList, *controls.标签_状态显示, book) || state.shutDown)
        return;
    state.rememberedPlace.reset();
    ApplyChoicesFoundLate(state, controls);
    // The user may have picked another book while the remembered one loaded.
    if (state.shelf.openBookIndex == book)
        ShowRememberedPlace(state, controls, remembered, settingsTime);
    else
        ShowOwnPlace(state, controls);
}

} // namespace

void OnStartup(ReaderState &state, const ReaderControls &controls)
{
    // The pane stretches with the window; the chapter list keeps its width
    // and lets its bottom edge follow the window's.
    RegisterLayout(state.layoutTable, state.windowSystem, HandleOf(controls.编辑框_内容), ANCHOR_PARENT, ANCHOR_PARENT,
                   ANCHOR_PARENT, ANCHOR_PARENT);
    RegisterLayout(state.layoutTable, state.windowSystem, HandleOf(controls.列表框_章节), ANCHOR_PARENT, ANCHOR_PARENT,
                   ANCHOR_KEEP_SIZE, ANCHOR_PARENT);
    state.SettingsPath = SettingsPathFor(QCoreApplication::applicationDirPath());
    const QFileInfo settingsFile(state.SettingsPath);
    const qint64 settingsTime = settingsFile.exists() ? settingsFile.lastModified().toMSecsSinceEpoch() : 0;
    const RememberedSettings remembered = LoadSettings(state.SettingsPath);
    state.store.Open(BookStorePathFor(state.SettingsPath));
    UseBookChoices(state);
    state.shelf.BookDirectory = remembered.bookDirectory;
    // The font decides how lines wrap, so it must be in place before the pane
    // is scrolled to the remembered line.
    ApplyAppearance(remembered, *controls.编辑框_内容);
    ColourListsLikePane(*controls.编辑框_内容, *controls.列表框_文件, *controls.列表框_章节);
    if (!state.shelf.BookDirectory.isEmpty()) {
        state.rememberedPlace = remembered;
        ReopenBook(state, controls, remembered, settingsTime);
    }
    ShowGuideWithoutBooks(state, controls);
    if (!state.shutDown)
        state.HotKeyId = RegisterReaderHotKey(controls.mainWindow, controls.标签_热键反馈);
    state.startedUp = true;
    qCInfo(lcApp) << "start-up finished";
}
