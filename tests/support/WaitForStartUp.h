#pragma once
#include <functional>

struct ReaderState;

// Lets the event loop run until `done` is true, for at most timeoutMs.
// Returns whether it became true.
bool WaitUntil(const std::function<bool()> &done, int timeoutMs = 60000);
// Lets the event loop run until start-up has put the reader back where the
// user stopped, for at most timeoutMs. Returns whether start-up finished.
bool WaitForStartUp(const ReaderState &state, int timeoutMs = 60000);
