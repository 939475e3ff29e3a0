#pragma once
#include <functional>

// Lets the event loop run until `done` is true, for at most timeoutMs.
// Returns whether it became true.
bool WaitUntil(const std::function<bool()> &done, int timeoutMs = 60000);
