#pragma once
#include "support/WaitUntil.h"

class MainWindow;

// Lets the event loop run until start-up has put the reader back where the
// user stopped, for at most timeoutMs. Returns whether start-up finished.
bool WaitForStartUp(const MainWindow &window, int timeoutMs = 60000);
