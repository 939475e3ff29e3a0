#include "Shutdown.h"

#include "BookLoader.h"
#include "EditBox.h"
#include "HotKey.h"
#include "ListBox.h"
#include "ReaderControls.h"
#include "ReaderState.h"
#include "Settings.h"

void OnShutdown(ReaderState &state, const ReaderControls &controls)
{
    if (state.shutDown)
        return;
    state.shutDown = true;
    StopLoading(state.shelf);

    EditBox &pane = *controls.编辑框_内容;
    pane.setFocus();
    const SavedPlace place = state.placeBeingRestored.value_or(
        SavedPlace{QString::number(controls.列表框_文件->Selection()),
                   QString::number(controls.列表框_章节->Selection()), QString::number(pane.FirstVisibleLine())});
    WriteSettingGroup(state.SettingsPath,
                      {{Setting::BookDirectory, state.shelf.BookDirectory},
                       {Setting::Book, place.book},
                       {Setting::Chapter, place.chapter},
                       {Setting::Line, place.line},
                       {Setting::FontName, pane.FontName()},
                       {Setting::FontSize, QString::number(pane.FontSize())},
                       {Setting::TextColour, QString::number(pane.TextColour())},
                       {Setting::BackgroundColour, QString::number(pane.BackgroundColour())}});
    ReleaseReaderHotKey(controls, state.HotKeyId);
}
