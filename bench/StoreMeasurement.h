#pragma once
// The cost of the book store (books.json) when it holds thousands of books:
// what the reader's start-up spends on it, and what a change of books spends
// saving the place in the book left and finding the record of the next one.
#include "Measurement.h"

#include <QString>

// Writes a store of `books` records and a remembered 1 MB book into the
// folder, then starts the reader on them `runs` times with the store and as
// often without it, each in a fresh process, and prints the medians.
void PrintStoreReport(const QString &folder, int books, int runs);

// One start of the reader on the folder PrintStoreReport wrote, with its
// store beside config.ini or without one: the time to the end of start-up,
// and what saving a place and finding a record then take.
Measurement MeasureStoreRun(const QString &folder, bool withStore);
