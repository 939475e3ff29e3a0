#pragma once
// Reading a whole book from its file and decoding it on several threads.
#include "core/TextByteMap.h"
#include "core/TextEncodingDetector.h"

#include <QIODevice>
#include <QString>
#include <QThread>

#include <functional>
#include <optional>

// A book is read in pieces of this many bytes; the progress counts them.
inline constexpr qint64 kBookPieceSize = 100000;

// How the work is shared out; the defaults are the reader's.
struct ReadingSplit {
    // Threads that decode, besides the one that reads.
    int threads = QThread::idealThreadCount();
    // Bytes per piece; even.
    qint64 pieceSize = kBookPieceSize;
    // Bytes a part gathers before it is cut off at the last split point of
    // its last piece; 0: chosen from the book's length and the threads.
    qint64 partSize = 0;
};

// Reads `length` bytes of `file` from where it stands, which counts as the
// book's start, in pieces of split.pieceSize bytes, and decodes them in
// `encoding`. The text is, character for character, what one BookDecoder
// fed those pieces in order makes of them: the byte-order mark skipped, each
// piece cut at its first NUL, UTF-16 as BookDecoder.h tells. A file that
// ends early (it shrank while read) gives the text of the pieces up to the
// first short one, that one included; bytes past `length` (it grew) are not
// read.
//
// The calling thread reads and cuts the bytes into parts at split points
// (SplitPoints.h); the threads decode the parts, and their texts are joined
// in order into one string reserved up front. A part's bytes go once it is
// decoded and its text once it is joined, so the book's bytes and its text
// are never held in full at the same time.
//
// `cancelled` is asked on the calling thread only, before each piece is read
// and each part is joined; once it says yes the reading stops (parts not
// started are dropped, running ones waited for) and the result is nullopt.
// `piecesDone` is called on the calling thread with the number of pieces
// whose text is in the result, whenever that number grew; its last call,
// just before the text is returned, counts every piece read, the short or
// empty one that found the end included. Either function may be empty.
//
// `byteMap`, when given, gets the place where each part starts, for finding
// a text position's bytes in the file later (TextByteMap.h).
std::optional<QString> ReadBookText(QIODevice &file, qint64 length, const TextEncoding &encoding,
                                    const std::function<bool()> &cancelled,
                                    const std::function<void(qint64)> &piecesDone, const ReadingSplit &split = {},
                                    TextByteMap *byteMap = nullptr);
