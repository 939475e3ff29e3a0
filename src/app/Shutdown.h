#pragma once
// Shutdown saves where the user is and how the text looks, once, as the
// window closes (or the program is asked to end): the place goes to the book
// store, config.ini is written whole, the hot key is given back, and the
// changes waiting are synced, for a few seconds at most.
#include <QObject>

class ReadingSession;
struct ReaderControls;
struct ReaderServices;

class Shutdown : public QObject {
public:
    Shutdown(ReaderServices &services, const ReaderControls &controls, ReadingSession &session,
             QObject *parent = nullptr);

    // Runs once; later calls do nothing.
    void Run();
    bool HasRun() const { return done_; }

private:
    ReaderServices &services_;
    const ReaderControls &controls_;
    ReadingSession &session_;
    bool done_ = false;
};
