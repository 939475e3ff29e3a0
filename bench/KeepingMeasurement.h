#pragma once
// What keeping the reader's place and settings costs the window's thread:
// a save of config.ini, and the longest stall while 自动滚动 reads on (the
// place and the settings saved every few seconds, the chapters changing).
#include "Measurement.h"

class Preferences;
class ReadingSession;

// Times the part of a save of config.ini that runs on the window's thread
// (the texts made, the write handed to the pool), the median of a few saves,
// next to the same keys written one at a time as earlier versions did, on a
// copy of the file.
Measurement MeasureSettingsSave(Preferences &preferences);
// Auto-scrolls the open book at the highest speed for `seconds` from the
// chapter shown, and reports the longest stall of the window's thread, with
// its own processor time in it.
Measurement MeasureAutoScroll(ReadingSession &session, int seconds);
