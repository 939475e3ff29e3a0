#pragma once
// Keeps the place config.ini names (section "Config": the book folder, the
// book the book list highlights by its row and its name, the chapter by its number and its
// title, the pane's first visible line) in step with the reader, from the
// moment Follow is first called. Until then the place remembered stays as it
// was read: while start-up puts the reader back there, or when it cannot
// (its folder or book missing), for the next start. Showing a book or
// listing a folder chosen follows the reader.
#include <QObject>

class Preferences;
class ReadingSession;

class PlaceInSettings : public QObject {
public:
    PlaceInSettings(ReadingSession &session, Preferences &preferences, QObject *parent = nullptr);

    // From now on config.ini's place is the reader's.
    void Follow();
    bool IsKeepingRemembered() const { return keeping_; }

private:
    void PutFolderAndBook();
    void PutChapter();
    void PutLine();

    ReadingSession &session_;
    Preferences &preferences_;
    bool keeping_ = true;
};
