#include "core/PartDecoding.h"

#include "core/BookDecoder.h"
#include "core/Gb18030Iconv.h"

namespace {

// Calls take() with each stretch of the bytes that lies within one piece, in
// order: the pieces the book's decoder was fed, clipped to the part.
template <typename Take>
void ForEachPieceOf(QByteArrayView bytes, qint64 offset, qint64 pieceSize, Take take)
{
    qsizetype at = 0;
    while (at < bytes.size()) {
        const qint64 pieceEnd = ((offset + at) / pieceSize + 1) * pieceSize;
        const qsizetype length = qsizetype(qMin<qint64>(bytes.size() - at, pieceEnd - (offset + at)));
        take(bytes.sliced(at, length));
        at += length;
    }
}

void AppendByBookDecoder(QByteArrayView bytes, qint64 offset, const TextEncoding &encoding, qint64 pieceSize,
                         QString &text)
{
    BookDecoder decoder(encoding);
    ForEachPieceOf(bytes, offset, pieceSize, [&](QByteArrayView piece) { text += decoder.DecodePiece(piece); });
}

// Calls take() with each run of a part of a book in a byte encoding: a
// stretch that the book's decoder reads on without a cut, from the part's
// start or the piece after a NUL to the next NUL or the part's end, and
// where it starts in the book.
template <typename Take>
void ForEachRunOf(QByteArrayView bytes, qint64 offset, qint64 pieceSize, Take take)
{
    qsizetype runStart = 0;
    qsizetype at = 0;
    ForEachPieceOf(bytes, offset, pieceSize, [&](QByteArrayView piece) {
        const qsizetype nul = piece.indexOf('\0');
        if (nul >= 0) {
            take(bytes.sliced(runStart, at + nul - runStart), offset + runStart);
            runStart = at + piece.size();
        }
        at += piece.size();
    });
    take(bytes.sliced(runStart), offset + runStart);
}

// Each run goes through iconv where that gives Qt's text, else through the
// book's decoder; a run starts where that decoder holds nothing back, so a
// fresh one gives what it gave.
void AppendGb18030Part(QByteArrayView bytes, qint64 offset, qint64 pieceSize, QString &text)
{
    ForEachRunOf(bytes, offset, pieceSize, [&](QByteArrayView run, qint64 runOffset) {
        if (!AppendGb18030ByIconv(run, text))
            AppendByBookDecoder(run, runOffset, {TextEncoding::Gb18030, 0}, pieceSize, text);
    });
}

} // namespace

// The byte-order mark stands at the start of the book only.
void AppendBookPart(QByteArrayView bytes, qint64 offset, const TextEncoding &encoding, qint64 pieceSize, QString &text)
{
    if (encoding == TextEncoding{TextEncoding::Gb18030, 0})
        AppendGb18030Part(bytes, offset, pieceSize, text);
    else
        AppendByBookDecoder(bytes, offset, offset == 0 ? encoding : TextEncoding{encoding.kind, 0}, pieceSize, text);
}
