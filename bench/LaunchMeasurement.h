#pragma once
// Launching the reader to the remembered chapter of a book: the real program,
// started as a process on the offscreen platform with a config.ini that
// points at a chapter in the middle of the book's body, timed until it logs
// that start-up has put that chapter in the pane. Its floor is iconv turning
// the same file into UTF-16 in the same run. Then the launch that shows the
// chapter from its bytes before the book is read, next to one where the
// program refuses to (the file's modification time moved), each with its
// peak memory.
#include "BenchBook.h"
#include "Measurement.h"

#include <QString>

// One floor run and the three launches, the refused one before the one with
// the preview when `refusedFirst`; empty when the program did not show the
// chapter as each launch should (reported on the error output). The program
// is copied into `scratch`, where it keeps its config.ini.
Measurement MeasureLaunch(const BenchBook &book, const QString &scratch, bool refusedFirst);
