#include "shelf/BookLoader.h"

#include "core/BookDecoder.h"
#include "core/OpenBook.h"
#include "core/TextEncodingDetector.h"
#include "shelf/Log.h"
#include "shelf/ShelfState.h"
#include "ui/BusyCursor.h"
#include "ui/ListBox.h"
#include "ui/NotifyLabel.h"
#include "ui/ProcessPendingEvents.h"

#include <QDateTime>
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

// Decided once per book, from its first bytes unless the reader chose one;
// the pieces then start again at byte 0.
TextEncoding BookEncoding(QFile &file, std::optional<TextEncoding::Kind> chosen)
{
    const QByteArray sample = file.read(chosen ? 4 : EncodingSampleSize);
    const TextEncoding encoding = chosen ? ChosenEncoding(*chosen, sample) : DetectEncoding(sample, file.atEnd());
    file.seek(0);
    qCInfo(lcShelf) << "reading" << file.fileName() << "as" << encoding.Name()
                    << (encoding.markLength > 0 ? "after its byte-order mark" : "without a byte-order mark");
    return encoding;
}

// The book the file holds, before its text is read.
OpenBook BookBeingRead(const ShelfState &shelf, QFile &file)
{
    const QFileInfo info(file);
    OpenBook book;
    book.fileName = info.fileName();
    book.fileSize = file.size();
    book.fileModified = info.lastModified().toMSecsSinceEpoch();
    const BookChoices choices = shelf.choicesFor ? shelf.choicesFor(book.fileName) : BookChoices{};
    book.encoding = BookEncoding(file, choices.encoding);
    book.rule = choices.rule;
    return book;
}

bool LoadShouldStop(const ShelfState &shelf)
{
    return shelf.stopped || shelf.hasNextBook;
}

// One load, start to end; whether it put the book on screen.
bool OpenOneBook(ShelfState &shelf, OpenBook &book, ListBox &bookList, NotifyLabel &progressLabel, int index)
{
    const QString path = shelf.BookDirectory + bookList.ItemText(index);
    if (!IsReadableBook(path)) {
        qCInfo(lcShelf) << "not opening" << path;
        return false;
    }
    shelf.loadStarted = true;
    if (!LoadBookText(shelf, book, path, progressLabel))
        return false;
    shelf.openBookIndex = index;
    return true;
}

} // namespace

bool OpenBookAt(ShelfState &shelf, OpenBook &book, ListBox &bookList, NotifyLabel &progressLabel, int index)
{
    if (shelf.stopped)
        return false;
    if (shelf.loading) {
        // Handled by the load already running further up the stack.
        shelf.nextBookIndex = index;
        shelf.hasNextBook = true;
        return false;
    }
    shelf.loading = true;
    shelf.loadStarted = false;
    const BusyCursor busy;
    bool opened = false;
    for (;;) {
        opened = OpenOneBook(shelf, book, bookList, progressLabel, index) || opened;
        if (shelf.stopped || !shelf.hasNextBook)
            break;
        index = shelf.nextBookIndex;
        shelf.hasNextBook = false;
    }
    shelf.loading = false;
    // Whatever was selected meanwhile, the highlight is on the book shown.
    if (shelf.loadStarted)
        bookList.SetSelection(shelf.openBookIndex);
    return opened;
}

// The text goes into the book at once, with the last piece: until then the
// book on screen stays whole, and a load that is stopped leaves it alone.
bool LoadBookText(ShelfState &shelf, OpenBook &book, const QString &path, NotifyLabel &progressLabel)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCInfo(lcShelf) << "cannot open" << path << file.errorString();
        return false;
    }
    OpenBook loaded = BookBeingRead(shelf, file);
    // The length is taken once. A file that another program keeps appending
    // to would otherwise never be read to its end: the book is what the file
    // held when the load began.
    const qint64 length = qMin(loaded.fileSize, kLargestBook);
    BookDecoder decoder(loaded.encoding);
    ProcessPendingEvents();
    while (!LoadShouldStop(shelf)) {
        const qint64 position = file.pos();
        const qint64 pieceLength = qBound<qint64>(0, length - position, kPieceSize);
        const QByteArray piece = file.read(pieceLength);
        loaded.BookText += decoder.DecodePiece(piece);
        // A file that shrank while being read ends at its new end.
        const bool atEnd = piece.size() < pieceLength || file.pos() >= length;
        if (atEnd)
            book = std::move(loaded);
        progressLabel.Post(PercentRead(position + pieceLength, length, atEnd), 0);
        ProcessPendingEvents();
        if (atEnd) {
            qCInfo(lcShelf) << "read" << path << "to its end";
            return true;
        }
    }
    qCInfo(lcShelf) << "stopped reading" << path << "at byte" << file.pos();
    return false;
}

void StopLoading(ShelfState &shelf)
{
    shelf.stopped = true;
}
