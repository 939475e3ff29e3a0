#pragma once
// Turns a book's bytes, piece by piece, into text in the encoding chosen for
// the book. The byte-order mark that starts the first piece is skipped. A
// character split across two pieces is carried over; a piece is cut at its
// first NUL character, and the cut drops any half character carried so far.
// A half character at the very end of the book is dropped too.
//
// A NUL character is a zero byte in GB18030, Big5 and UTF-8. In UTF-16 it is
// a zero unit: two zero bytes on a unit boundary counted from the start of
// the file (a zero byte inside a character such as U+4E00 is not one).
// Pieces hold an even number of bytes, so each one starts on a unit boundary;
// should a cut ever leave half a unit behind, the next piece's first byte,
// the other half, is skipped, so units stay aligned with the file. Surrogates
// without their partner become U+FFFD, keeping the text well-formed.
#include "core/TextEncodingDetector.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

class BookDecoder {
public:
    explicit BookDecoder(const TextEncoding &encoding);
    QString DecodePiece(QByteArrayView piece);

private:
    QString DecodeBytes(QByteArrayView piece);
    QString DecodeUtf16(QByteArrayView piece);
    char16_t Utf16UnitAt(const QByteArray &bytes, qsizetype unit) const;

    const TextEncoding encoding_;
    // GB18030, Big5 and UTF-8; it carries split characters itself.
    QStringDecoder decoder_;
    // UTF-16: the bytes of a character that the next piece completes.
    QByteArray utf16Carry_;
    // Bytes at the start of the next piece that are not text: the mark, or
    // the second half of a unit whose first half a cut dropped.
    qsizetype skip_;
};
