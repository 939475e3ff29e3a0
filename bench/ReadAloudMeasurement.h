#pragma once
// What starting 朗读 costs the window's thread, with the real speech engine.
#include "Measurement.h"

class ReadingSession;

// Brings the session's speech engine up and times, on the window's thread,
// the longest stall of the event loop while it comes up and the call that
// starts reading the chapter shown; reading is stopped again. Empty when the
// engine is unavailable here.
Measurement MeasureReadAloudStart(ReadingSession &session);
