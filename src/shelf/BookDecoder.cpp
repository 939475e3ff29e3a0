#include "BookDecoder.h"

BookDecoder::BookDecoder() : decoder_("GB18030") {}

QString BookDecoder::DecodePiece(QByteArrayView piece)
{
    const qsizetype nul = piece.indexOf('\0');
    if (nul < 0)
        return decoder_.decode(piece);
    QString text = decoder_.decode(piece.first(nul));
    decoder_.resetState();
    return text;
}
