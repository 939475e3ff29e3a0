#pragma once
// Saves the place in the book on screen while the user reads: shortly after
// the chapter changes (a run of chapter steps is saved once) and 2 s after
// the pane's first visible line began to move, again and again while it moves
// on. Saving writes only what changed.
#include <QObject>
#include <QTimer>

class ReadingSession;

class PlaceSaver : public QObject {
public:
    explicit PlaceSaver(ReadingSession &session);

private:
    QTimer afterChapterChange_;
    QTimer afterScrolling_;
};
