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
    const auto changed = qOverload<>(&QTimer::start);
    connect(&session, &ReadingSession::bookShown, &afterChange_, changed);
    connect(&session.BookShelf(), &Shelf::folderListed, &afterChange_, changed);
    connect(&state.hotKey, &ReaderHotKey::changed, &afterChange_, changed);
    // Changes made from code as well as the user's.
    connect(controls.列表框_章节->selectionModel(), &QItemSelectionModel::currentRowChanged, &afterChange_, changed);
    connect(controls.列表框_文件->selectionModel(), &QItemSelectionModel::currentRowChanged, &afterChange_, changed);
    connect(controls.编辑框_内容->verticalScrollBar(), &QScrollBar::valueChanged, &afterChange_, changed);
    controls.编辑框_内容->installEventFilter(this);
}

// A font or colour set on the pane, however it was chosen.
bool SettingsSaver::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        afterChange_.start();
    return QObject::eventFilter(watched, event);
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
