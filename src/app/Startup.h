#pragma once
// Start-up puts the reader back where the user stopped, in two steps, and
// knows how far it has come.
//
// Begin, as soon as the window's controls exist and before the window is
// shown: reads the settings, opens the book store, lists the remembered
// folder and starts reopening the remembered book (or the one named on the
// command line), which then loads off the window's thread while the window
// is being built and shown.
//
// OnWindowShown, once the window is up and framed, and before the reopened
// book can be handed over: arms the layout engine, applies the remembered
// look and speeds, shows the guide (or names a missing folder, looked for
// again every few seconds) and claims the hot key.
//
// Start-up has finished once the remembered book is shown, or could not be,
// or nothing was to be reopened; from then on the settings are saved as they
// change.
#include <QObject>
#include <QString>

class Appearance;
class ReadingSession;
struct ReaderControls;
struct ReaderServices;

class Startup : public QObject {
    Q_OBJECT
public:
    // Reopening: a book is being opened for the place it was left at;
    // AwaitingWindow: none is.
    enum class Stage { NotBegun, Reopening, AwaitingWindow, Finished };

    Startup(ReaderServices &services, const ReaderControls &controls, ReadingSession &session, Appearance &appearance,
            QObject *parent = nullptr);

    void Begin();
    void OnWindowShown();
    Stage CurrentStage() const { return stage_; }
    bool IsFinished() const { return stage_ == Stage::Finished; }

Q_SIGNALS:
    void finished();

private:
    enum class Reopening { NothingToReopen, Begun, NotPossible };
    Reopening ReopenBook();
    bool OpenNamedBook();
    void AwaitMissingFolder();
    void RegisterLayouts();
    void FinishOnceShown();
    void Finish();

    ReaderServices &services_;
    const ReaderControls &controls_;
    ReadingSession &session_;
    Appearance &appearance_;
    Stage stage_ = Stage::NotBegun;
};
