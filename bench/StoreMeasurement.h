#pragma once
// The cost of the book store (books.db) when it holds thousands of books:
// what the reader's start-up spends on it, what saving the place in a book
// spends on the window's thread, and what finding another book's record
// takes.
#include "Measurement.h"

#include <QString>

// Writes a store of `books` records and a remembered 1 MB book into the
// folder, then starts the reader on them `runs` times with the store and as
// often without it, each in a fresh process, and prints the medians.
void PrintStoreReport(const QString &folder, int books, int runs);

// One fresh process's run on the folder PrintStoreReport wrote: first the
// loading of the SQLite driver and the store's own start-up work on a copy
// of the store (opening it, the lookups start-up makes), then one start of
// the reader with the store beside config.ini or without one (a new, empty
// store): the time to the end of start-up, and what saving a place (the
// first and the second time) and finding a record then take.
Measurement MeasureStoreRun(const QString &folder, bool withStore);
