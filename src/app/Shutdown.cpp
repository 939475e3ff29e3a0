#include "app/Shutdown.h"

#include "app/ReaderState.h"
#include "app/Settings.h"
#include "shelf/BookLoader.h"
#include "tools/HotKey.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/NotifyLabel.h"
#include "ui/ReaderControls.h"

void OnShutdown(ReaderState &state, const ReaderControls &controls)
{
    if (state.shutDown)
        return;
    state.shutDown = true;
    StopLoading(state.shelf);

    EditBox &pane = *controls.编辑框_内容;
    pane.setFocus();
    RememberedSettings settings;
    settings.bookDirectory = state.shelf.BookDirectory;
    if (state.placeBeingRestored) {
        settings.book = state.placeBeingRestored->book;
        settings.chapter = state.placeBeingRestored->chapter;
        settings.line = state.placeBeingRestored->line;
    } else {
        settings.book = QString::number(controls.列表框_文件->Selection());
        settings.chapter = QString::number(controls.列表框_章节->Selection());
        settings.line = QString::number(pane.FirstVisibleLine());
    }
    settings.fontName = pane.FontName();
    settings.fontSize = QString::number(pane.FontSize());
    settings.textColour = QString::number(pane.TextColour());
    settings.backgroundColour = QString::number(pane.BackgroundColour());
    SaveSettings(state.SettingsPath, settings);
    ReleaseReaderHotKey(controls.mainWindow, state.HotKeyId);
}
