#pragma once
// Decoding a book part by part, each part on its own: the parts, cut at
// split points (SplitPoints.h), give texts that joined in order are the
// text of the whole book.
#include "core/TextEncodingDetector.h"

#include <QByteArrayView>
#include <QString>

// Appends to `text` what one BookDecoder, fed the whole book from its start
// in pieces of `pieceSize` bytes (even), gives for the book's bytes from
// `offset` on, `bytes` being those bytes. Exact when `offset` is 0 or a
// split point and the bytes end at a split point or where the book ends.
// The text's room is used as it is and grown where needed.
void AppendBookPart(QByteArrayView bytes, qint64 offset, const TextEncoding &encoding, qint64 pieceSize, QString &text);
