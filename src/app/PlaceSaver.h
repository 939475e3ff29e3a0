#pragma once
// Saves the place in the book on screen while the user reads: shortly after
// the chapter changes (a run of chapter steps is saved once) and 2 s after
// scrolling stops. Saving writes only what changed (SaveShownPlace).
#include <QObject>
#include <QTimer>

struct ReaderState;
struct ReaderControls;

class PlaceSaver : public QObject {
public:
    PlaceSaver(ReaderState &state, const ReaderControls &controls, QObject *parent);

private:
    void Save();

    ReaderState &state_;
    const ReaderControls &controls_;
    QTimer afterChapterChange_;
    QTimer afterScrolling_;
};
