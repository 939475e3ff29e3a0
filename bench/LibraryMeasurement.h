#pragma once
// The cost of a large library: listing a folder of thousands of books into
// the book list, narrowing the list key by key, and searching every book of
// a library of hundreds of megabytes for a phrase.
#include <QString>

struct LibraryBenchSettings {
    int files = 20000;    // books listed (0: no listing figures)
    int searchBooks = 60; // books searched (0: no search figures)
    int searchMegabytes = 500;
    int runs = 5;
};

// Writes the libraries into the folder, measures in this process with an
// offscreen book list, and prints the medians against their targets.
void PrintLibraryReport(const QString &folder, const LibraryBenchSettings &settings);
