#pragma once
// Writes config.ini about a second after one of its values changed while the
// reader runs (a book or a chapter shown, the pane scrolled, a font, colour or
// typography chosen, a folder listed, the hide key or the sync folder chosen), so that a reader
// killed outright or a machine switched off keeps them; shutdown still writes
// them all. A save writes the whole group of keys under the file's lock, as
// shutdown does, and only when something differs from what the file was last
// given.
#include "core/Settings.h"

#include <QObject>
#include <QTimer>

struct ReaderState;
struct ReaderControls;
class ReadingSession;

class SettingsSaver : public QObject {
public:
    SettingsSaver(ReaderState &state, const ReaderControls &controls, ReadingSession &session, QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void NoteChange();
    void Save();

    ReaderState &state_;
    const ReaderControls &controls_;
    ReadingSession &session_;
    QTimer afterChange_;
    SettingTexts written_;
};
