#include "shelf/BookLoader.h"

#include "core/BookDecoder.h"
#include "core/OpenBook.h"
#include "core/TextEncodingDetector.h"
#include "shelf/Log.h"
#include "shelf/ShelfState.h"
#include "ui/ListBox.h"
#include "ui/NotifyLabel.h"
#include "ui/ProcessPendingEvents.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace {

constexpr qint64 kPieceSize = 100000;
// Read positions and lengths are signed 32-bit numbers.
constexpr qint64 kLargestBook = 0x7FFFFFFF;

// Only ordinary files qualify: a FIFO would block the window forever and a
// directory has nothing to read.
bool IsReadableBook(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kLargestBook)
        return false;
    return path.right(3).toLower() == QLatin1String("txt");
}

int PercentRead(qint64 readUpTo, qint64 length, bool atEnd)
{
    if (atEnd)
        return 100;
    return int(std::floor(double(readUpTo) * 100.0 / double(length)));
}

// Decided once per book from its first bytes; the pieces then start again
// at byte 0.
TextEncoding DetectBookEncoding(QFile &file)
{
    const QByteArray sample = file.read(EncodingSampleSize);
    const TextEncoding encoding = DetectEncoding(sample, file.atEnd());
    file.seek(0);
    qCInfo(lcShelf) << "reading" << file.fileName() << "as" << encoding.Name()
                    << (encoding.markLength > 0 ? "after its byte-order mark" : "without a byte-order mark");
    return encoding;
}

bool LoadShouldStop(const ShelfState &shelf)
{
    return shelf.stopped || shelf.hasNextBook;
}

// One load, start to end; false when it was stopped or could not start.
bool OpenOneBook(ShelfState &shelf, OpenBook &book, ListBox &bookList, NotifyLabel &progressLabel, int index)
{
    const QString path = shelf.BookDirectory + bookList.ItemText(index);
    if (!IsReadableBook(path)) {
        qCInfo(lcShelf) << "not opening" << path;
        return false;
    }
    book.BookText.clear();
    if (!LoadBookText(shelf, book, path, progressLabel))
        return false;
    bookList.SetSelection(index);
    return true;
}

} // namespace

void OnBookSelected(ShelfState &shelf, OpenBook &book, ListBox &bookList, NotifyLabel &progressLabel)
{
    OpenBookAt(shelf, book, bookList, progressLabel, bookList.Selection());
}

void OpenBookAt(ShelfState &shelf, OpenBook &book, ListBox &bookList, NotifyLabel &progressLabel, int index)
{
    if (shelf.stopped)
        return;
    if (shelf.loading) {
        // Handled by the load already running further up the stack.
        shelf.nextBookIndex = index;
        shelf.hasNextBook = true;
        return;
    }
    shelf.loading = true;
    for (;;) {
        OpenOneBook(shelf, book, bookList, progressLabel, index);
        if (shelf.stopped || !shelf.hasNextBook)
            break;
        index = shelf.nextBookIndex;
        shelf.hasNextBook = false;
    }
    shelf.loading = false;
}

bool LoadBookText(ShelfState &shelf, OpenBook &book, const QString &path, NotifyLabel &progressLabel)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCInfo(lcShelf) << "cannot open" << path << file.errorString();
        return false;
    }
    // The length is taken once. A file that another program keeps appending
    // to would otherwise never be read to its end: the book is what the file
    // held when the load began.
    const qint64 length = qMin(file.size(), kLargestBook);
    book.encoding = DetectBookEncoding(file);
    BookDecoder decoder(book.encoding);
    bool completed = false;
    ProcessPendingEvents();
    while (!LoadShouldStop(shelf)) {
        const qint64 position = file.pos();
        const qint64 pieceLength = qBound<qint64>(0, length - position, kPieceSize);
        const QByteArray piece = file.read(pieceLength);
        book.BookText += decoder.DecodePiece(piece);
        // A file that shrank while being read ends at its new end.
        const bool atEnd = piece.size() < pieceLength || file.pos() >= length;
        progressLabel.Post(PercentRead(position + pieceLength, length, atEnd), 0);
        ProcessPendingEvents();
        if (atEnd) {
            completed = true;
            break;
        }
    }
    if (completed)
        qCInfo(lcShelf) << "read" << path << "to its end";
    else
        qCInfo(lcShelf) << "stopped reading" << path << "at byte" << file.pos();
    file.close();
    return completed && !LoadShouldStop(shelf);
}

void StopLoading(ShelfState &shelf)
{
    shelf.stopped = true;
}
