#include "core/PartDecoding.h"

#include "core/BookDecoder.h"

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

} // namespace

// The byte-order mark stands at the start of the book only.
QString DecodeBookPart(QByteArrayView bytes, qint64 offset, const TextEncoding &encoding, qint64 pieceSize)
{
    QString text;
    text.reserve(encoding.IsUtf16() ? bytes.size() / 2 : bytes.size());
    AppendByBookDecoder(bytes, offset, offset == 0 ? encoding : TextEncoding{encoding.kind, 0}, pieceSize, text);
    return text;
}
