#include "app/Startup.h"

#include "app/Log.h"
#include "app/ReaderState.h"
#include "app/Settings.h"
#include "layout/RegisterLayout.h"
#include "reader/ChapterNavigation.h"
#include "shelf/BookList.h"
#include "shelf/BookLoader.h"
#include "tools/HotKey.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/NotifyLabel.h"
#include "ui/ReaderControls.h"

#include <QCoreApplication>

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

void ReopenBook(ReaderState &state, const ReaderControls &controls, const RememberedSettings &remembered)
{
    ListBox &bookList = *controls.列表框_文件;
    FillBookList(state.shelf, bookList, *controls.编辑框_路径, state.shelf.BookDirectory);
    const int book = SettingNumber(remembered.book).value_or(0);
    if (!remembered.book.isEmpty())
        OpenBookAt(state.shelf, state.book, bookList, *controls.标签_状态显示, book);
    // The user may have closed the window, or picked another book, while the
    // remembered one was loading: then the remembered place no longer applies.
    if (state.shutDown || remembered.chapter.isEmpty())
        return;
    if (!remembered.book.isEmpty() && bookList.Selection() != book)
        return;
    EditBox &pane = *controls.编辑框_内容;
    ShowChapter(state.book, *controls.列表框_章节, pane, SettingNumber(remembered.chapter).value_or(0));
    if (!pane.Text().isEmpty())
        pane.ScrollLines(SettingNumber(remembered.line).value_or(0));
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
    const RememberedSettings remembered = LoadSettings(state.SettingsPath);
    state.shelf.BookDirectory = remembered.bookDirectory;
    // The font decides how lines wrap, so it must be in place before the pane
    // is scrolled to the remembered line.
    ApplyAppearance(remembered, *controls.编辑框_内容);
    if (!state.shelf.BookDirectory.isEmpty()) {
        state.placeBeingRestored = remembered;
        ReopenBook(state, controls, remembered);
        state.placeBeingRestored.reset();
    }
    if (!state.shutDown)
        state.HotKeyId = RegisterReaderHotKey(controls.mainWindow, controls.标签_热键反馈);
    state.startedUp = true;
    qCInfo(lcApp) << "start-up finished";
}
