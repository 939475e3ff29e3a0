#pragma once
struct ReaderState;
struct ReaderControls;
class ReadingSession;

// Start-up puts the reader back where the user stopped, in two steps.
//
// As soon as the window's controls exist, before the window is shown: reads
// the settings, opens the book store, lists the remembered folder and starts
// reopening the remembered book, which then loads off the window's thread
// while the window is being built and shown.
void BeginStartup(ReaderState &state, const ReaderControls &controls, ReadingSession &session);
// Once the window is up and framed, and before the reopened book can be
// handed over: arms the layout engine, applies the remembered font and
// colours, shows the guide (or names a missing folder) and claims the hot
// key. Start-up has finished (state.startedUp) once the remembered book is
// shown, or could not be, or nothing was to be reopened.
void OnStartup(ReaderState &state, const ReaderControls &controls, ReadingSession &session);
