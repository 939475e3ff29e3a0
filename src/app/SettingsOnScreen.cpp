#include "app/SettingsOnScreen.h"

#include "app/BookSyncing.h"
#include "app/ReaderState.h"
#include "app/TypographySettings.h"
#include "session/ReadingSession.h"
#include "shelf/Shelf.h"
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

SettingTexts SettingsOnScreen(const ReaderState &state, const ReaderControls &controls, const ReadingSession &session)
{
    const EditBox &pane = *controls.编辑框_内容;
    Settings settings;
    PlaceOnScreen(session, *controls.列表框_文件, settings);
    settings.fontName = pane.FontName();
    settings.fontSize = pane.FontSize();
    settings.textColour = pane.TextColour();
    settings.backgroundColour = pane.BackgroundColour();
    PutTypography(pane.TextTypography(), settings);
    settings.autoScrollSpeed = session.Scrolling().Speed();
    settings.hotKey = state.hotKey.Setting();
    settings.speechRate = session.Aloud().Rate();
    settings.voice = session.Aloud().Voice();
    PutSyncAccount(state.sync.Account(), settings);
    SettingTexts texts = TextsOf(settings);
    if (state.rememberedPlace)
        KeepPlace(*state.rememberedPlace, texts);
    return texts;
}
