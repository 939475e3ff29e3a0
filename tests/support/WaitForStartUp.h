#pragma once
struct ReaderState;

// Lets the event loop run until start-up has put the reader back where the
// user stopped, for at most timeoutMs. Returns whether start-up finished.
bool WaitForStartUp(const ReaderState &state, int timeoutMs = 60000);
