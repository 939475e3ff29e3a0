#pragma once
// Turns a book's bytes, piece by piece, into text. A character split across
// two pieces is carried over; a piece is cut at its first NUL byte, and the
// cut drops any half character carried so far.
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

class BookDecoder {
public:
    BookDecoder();
    QString DecodePiece(QByteArrayView piece);

private:
    QStringDecoder decoder_;
};
