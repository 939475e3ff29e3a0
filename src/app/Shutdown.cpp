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
    const QString &path = state.SettingsPath;
    WriteSetting(path, Setting::BookDirectory, state.shelf.BookDirectory);
    WriteSetting(path, Setting::Book, place.book);
    WriteSetting(path, Setting::Chapter, place.chapter);
    WriteSetting(path, Setting::Line, place.line);
    WriteSetting(path, Setting::FontName, pane.FontName());
    WriteSetting(path, Setting::FontSize, QString::number(pane.FontSize()));
    WriteSetting(path, Setting::TextColour, QString::number(pane.TextColour()));
    WriteSetting(path, Setting::BackgroundColour, QString::number(pane.BackgroundColour()));
    ReleaseReaderHotKey(controls, state.HotKeyId);
}
