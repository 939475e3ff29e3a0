#pragma once
// The benchmark's parent process: writes each book, then measures it in fresh
// child processes of this same program (peak memory is per process), one
// floor run and one reader run at a time.
#include "BenchBook.h"
#include "ChildRun.h"
#include "LibraryMeasurement.h"
#include "Measurement.h"

#include <QList>
#include <QString>

struct BenchSettings {
    QList<int> megabytes;
    int runs = 5;
    int arrowSteps = 200;
    int scrollSeconds = 60;
    int storeBooks = 5000;
    LibraryBenchSettings library;
};

struct SizeResult {
    int megabytes = 0;
    BenchBook book;
    // Successful runs only; a failed child is reported on the error output.
    QList<Measurement> readerRuns;
    QList<Measurement> floorRuns;
    QList<Measurement> launchRuns;
    QList<Measurement> highlightRuns;
};

// Measures every size in turn, printing each size's report as soon as it is
// done, then the book store's and the library's costs.
void RunBenchmark(const BenchSettings &settings);
