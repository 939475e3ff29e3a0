#include "app/Shutdown.h"

#include "app/ReaderState.h"
#include "core/Settings.h"
#include "session/ReadingSession.h"
#include "shelf/Shelf.h"
#include "tools/HotKey.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/ReaderControls.h"

#include <string_view>

namespace {

// A name with a line break cannot stand in the settings file: it is not
// remembered, and the next start goes by the numbers alone.
QString AsSettingText(const QString &text)
{
    return text.contains(u'\n') || text.contains(u'\r') ? QString() : text;
}

// Where the reader is: the book folder, the selected book and chapter, the
// pane's first visible line, and the names of the book and the chapter.
void PlaceOnScreen(const ReadingSession &session, const ListBox &bookList, Settings &settings)
{
    const int book = bookList.Selection();
    const int chapter = session.ShownChapter();
    settings.bookDirectory = session.BookShelf().BookDirectory();
    settings.book = book;
    settings.chapter = chapter;
    // Without a book the pane holds at most the guide, which is no place.
    settings.line = session.HasBook() ? session.Pane().FirstVisibleLine() : 0;
    settings.bookName = AsSettingText(bookList.ItemText(book));
    settings.chapterTitle = AsSettingText(session.Book().ChapterTitle(chapter));
}

// The place is what section "Config" holds; it goes back as it was read.
void KeepPlace(const SettingTexts &kept, SettingTexts &texts)
{
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (kSettingKeys[i].section == std::string_view("Config"))
            texts[i] = kept[i];
}

} // namespace

void OnShutdown(ReaderState &state, const ReaderControls &controls, ReadingSession &session)
{
    if (state.shutDown)
        return;
    // The book store first: config.ini, written after it, stays the newer.
    session.Close();
    state.shutDown = true;

    EditBox &pane = *controls.编辑框_内容;
    pane.setFocus();
    Settings settings;
    PlaceOnScreen(session, *controls.列表框_文件, settings);
    settings.fontName = pane.FontName();
    settings.fontSize = pane.FontSize();
    settings.textColour = pane.TextColour();
    settings.backgroundColour = pane.BackgroundColour();
    SettingTexts texts = TextsOf(settings);
    if (state.rememberedPlace)
        KeepPlace(*state.rememberedPlace, texts);
    WriteSettingTexts(state.SettingsPath, texts);
    ReleaseReaderHotKey(controls.mainWindow, state.HotKeyId);
}
