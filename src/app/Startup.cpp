#include "Startup.h"

#include "BookList.h"
#include "BookLoader.h"
#include "ChapterNavigation.h"
#include "EditBox.h"
#include "HotKey.h"
#include "ListBox.h"
#include "ReaderControls.h"
#include "ReaderState.h"
#include "RegisterLayout.h"
#include "Settings.h"

#include <QCoreApplication>

namespace {

struct RememberedPlace {
    QString fontName, fontSize, textColour, backgroundColour, book, chapter, line;
};

RememberedPlace ReadRememberedPlace(const QString &settingsPath)
{
    RememberedPlace place;
    place.fontName = ReadSetting(settingsPath, Setting::FontName);
    place.fontSize = ReadSetting(settingsPath, Setting::FontSize);
    place.textColour = ReadSetting(settingsPath, Setting::TextColour);
    place.backgroundColour = ReadSetting(settingsPath, Setting::BackgroundColour);
    place.book = ReadSetting(settingsPath, Setting::Book);
    place.chapter = ReadSetting(settingsPath, Setting::Chapter);
    place.line = ReadSetting(settingsPath, Setting::Line);
    return place;
}

// Each item only when remembered; the pane otherwise keeps its designed look.
// A size or colour that is no number counts as not remembered: read as 0, a
// damaged file would paint black text on a black page.
void ApplyAppearance(const RememberedPlace &place, EditBox &pane)
{
    if (!place.fontName.isEmpty())
        pane.SetFontName(place.fontName);
    if (const std::optional<int> size = SettingNumber(place.fontSize))
        pane.SetFontSize(*size);
    if (const std::optional<int> colour = SettingNumber(place.textColour))
        pane.SetTextColour(*colour);
    if (const std::optional<int> colour = SettingNumber(place.backgroundColour))
        pane.SetBackgroundColour(*colour);
}

void ReopenBook(ReaderState &state, const ReaderControls &controls, const RememberedPlace &place)
{
    FillBookList(state.shelf, controls, state.shelf.BookDirectory);
    if (!place.book.isEmpty())
        OpenBookAt(state.shelf, controls, SettingToInt(place.book));
    // The user may have closed the window, or picked another book, while the
    // remembered one was loading: then the remembered place no longer applies.
    if (state.shutDown || place.chapter.isEmpty())
        return;
    if (!place.book.isEmpty() && controls.列表框_文件->Selection() != SettingToInt(place.book))
        return;
    ShowChapter(state.shelf.BookText, controls, SettingToInt(place.chapter));
    if (!controls.编辑框_内容->Text().isEmpty())
        controls.编辑框_内容->ScrollLines(SettingToInt(place.line));
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
    state.shelf.BookDirectory = ReadSetting(state.SettingsPath, Setting::BookDirectory);
    const RememberedPlace place = ReadRememberedPlace(state.SettingsPath);
    // The font decides how lines wrap, so it must be in place before the pane
    // is scrolled to the remembered line.
    ApplyAppearance(place, *controls.编辑框_内容);
    if (!state.shelf.BookDirectory.isEmpty()) {
        state.placeBeingRestored = SavedPlace{place.book, place.chapter, place.line};
        ReopenBook(state, controls, place);
        state.placeBeingRestored.reset();
    }
    if (!state.shutDown)
        state.HotKeyId = RegisterReaderHotKey(controls);
    state.startedUp = true;
}
