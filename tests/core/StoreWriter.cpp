// A second reader for BookStoreTest: book_store_writer PATH PREFIX COUNT opens
// the book store at PATH, prints "open", waits for a line on its standard
// input, then puts COUNT records (see StoreWriterRecords.h). Exits with 0 when
// every record was written.
#include "StoreWriterRecords.h"
#include "core/BookStore.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 4)
        return 2;
    BookStore store;
    store.Open(arguments[1]);
    std::puts("open");
    std::fflush(stdout);
    char line[16];
    if (!std::fgets(line, sizeof line, stdin))
        return 3;
    for (int i = 0; i < arguments[3].toInt(); ++i) {
        if (!store.Put(WriterBookName(arguments[2], i), WriterRecord(i)))
            return 1;
    }
    return 0;
}
