#include "app/SettingsSaver.h"

#include "app/ReaderState.h"
#include "app/SettingsOnScreen.h"
#include "session/ReadingSession.h"
#include "shelf/Shelf.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/ReaderControls.h"

#include <QEvent>
#include <QItemSelectionModel>
#include <QScrollBar>

namespace {

constexpr int kAfterChangeMs = 1000;

} // namespace

SettingsSaver::SettingsSaver(ReaderState &state, const ReaderControls &controls, ReadingSession &session,
                             QObject *parent)
    : QObject(parent), state_(state), controls_(controls), session_(session), written_(state.startupReading.texts)
{
    afterChange_.setSingleShot(true);
    afterChange_.setInterval(kAfterChangeMs);
    connect(&afterChange_, &QTimer::timeout, this, &SettingsSaver::Save);
    const auto changed = &SettingsSaver::NoteChange;
    connect(&session, &ReadingSession::bookShown, this, changed);
    connect(&session.BookShelf(), &Shelf::folderListed, this, changed);
    connect(&state.hotKey, &ReaderHotKey::changed, this, changed);
    connect(&state.sync, &BookSync::accountChanged, this, changed);
    // Changes made from code as well as the user's.
    connect(controls.列表框_章节->selectionModel(), &QItemSelectionModel::currentRowChanged, this, changed);
    connect(controls.列表框_文件->selectionModel(), &QItemSelectionModel::currentRowChanged, this, changed);
    connect(controls.编辑框_内容->verticalScrollBar(), &QScrollBar::valueChanged, this, changed);
    connect(controls.编辑框_内容, &EditBox::typographyChanged, this, changed);
    connect(&session.Scrolling(), &AutoScroll::speedChanged, this, changed);
    connect(&session.Aloud(), &ReadAloud::rateChanged, this, changed);
    connect(&session.Aloud(), &ReadAloud::voiceChanged, this, changed);
    controls.编辑框_内容->installEventFilter(this);
}

// A font or colour set on the pane, however it was chosen.
bool SettingsSaver::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        NoteChange();
    return QObject::eventFilter(watched, event);
}

// Counted from the first change, so that one change after another (自动滚动)
// still saves every second.
void SettingsSaver::NoteChange()
{
    if (!afterChange_.isActive())
        afterChange_.start();
}

void SettingsSaver::Save()
{
    // Before start-up has put the reader back, the screen is no place yet;
    // after shutdown, the file has been written for good.
    if (!state_.startedUp || state_.shutDown)
        return;
    const SettingTexts texts = SettingsOnScreen(state_, controls_, session_);
    if (texts == written_)
        return;
    WriteSettingTexts(state_.SettingsPath, texts);
    written_ = texts;
}
