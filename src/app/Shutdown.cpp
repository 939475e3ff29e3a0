#include "app/Shutdown.h"

#include "app/BookPlaces.h"
#include "app/ReaderState.h"
#include "app/Settings.h"
#include "shelf/BookLoader.h"
#include "tools/HotKey.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/NotifyLabel.h"
#include "ui/ReaderControls.h"

namespace {

// A name with a line break cannot stand in the settings file: it is not
// remembered, and the next start goes by the numbers alone.
QString AsSettingText(const QString &text)
{
    return text.contains(u'\n') || text.contains(u'\r') ? QString() : text;
}

// Where the reader is: the book folder, the selected book and chapter, the
// pane's first visible line, and the names of the book and the chapter.
void PlaceOnScreen(const ReaderState &state, const ReaderControls &controls, RememberedSettings &settings)
{
    const int book = controls.列表框_文件->Selection();
    const int chapter = controls.列表框_章节->Selection();
    settings.bookDirectory = state.shelf.BookDirectory;
    settings.book = QString::number(book);
    settings.chapter = QString::number(chapter);
    // Without a book the pane holds at most the guide, which is no place.
    settings.line = QString::number(state.book.fileName.isEmpty() ? 0 : controls.编辑框_内容->FirstVisibleLine());
    settings.bookName = AsSettingText(controls.列表框_文件->ItemText(book));
    settings.chapterTitle = AsSettingText(state.book.ChapterTitle(chapter));
}

void KeptPlace(const RememberedSettings &kept, RememberedSettings &settings)
{
    settings.bookDirectory = kept.bookDirectory;
    settings.book = kept.book;
    settings.chapter = kept.chapter;
    settings.line = kept.line;
    settings.bookName = kept.bookName;
    settings.chapterTitle = kept.chapterTitle;
}

} // namespace

void OnShutdown(ReaderState &state, const ReaderControls &controls)
{
    if (state.shutDown)
        return;
    // The book store first: config.ini, written after it, stays the newer.
    SaveShownPlace(state, controls);
    state.shutDown = true;
    StopLoading(state.shelf);

    EditBox &pane = *controls.编辑框_内容;
    pane.setFocus();
    RememberedSettings settings;
    if (state.rememberedPlace)
        KeptPlace(*state.rememberedPlace, settings);
    else
        PlaceOnScreen(state, controls, settings);
    settings.fontName = pane.FontName();
    settings.fontSize = QString::number(pane.FontSize());
    settings.textColour = QString::number(pane.TextColour());
    settings.backgroundColour = QString::number(pane.BackgroundColour());
    SaveSettings(state.SettingsPath, settings);
    ReleaseReaderHotKey(controls.mainWindow, state.HotKeyId);
}
