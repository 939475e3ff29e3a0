#pragma once
struct ReaderState;
struct ReaderControls;
class ReadingSession;

// Saves where the user is and how the text looks, once, as the window closes.
void OnShutdown(ReaderState &state, const ReaderControls &controls, ReadingSession &session);
