#pragma once
struct ReaderState;
struct ReaderControls;

// Runs once the window and its controls exist: reads the settings and puts
// the reader back where the user stopped.
void OnStartup(ReaderState &state, const ReaderControls &controls);
