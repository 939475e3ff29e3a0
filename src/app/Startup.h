#pragma once
struct ReaderState;
struct ReaderControls;
class ReadingSession;

// Runs once the window and its controls exist: reads the settings and puts
// the reader back where the user stopped. The remembered book opens off the
// window's thread; start-up has finished (state.startedUp) once it is shown,
// or could not be, or nothing was to be reopened.
void OnStartup(ReaderState &state, const ReaderControls &controls, ReadingSession &session);
