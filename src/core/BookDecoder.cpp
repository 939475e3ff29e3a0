#include "core/BookDecoder.h"

BookDecoder::BookDecoder(const TextEncoding &encoding)
    : encoding_(encoding),
      // The mark is skipped by its length; Qt must not drop a U+FEFF of its
      // own accord, neither at the start nor after a cut resets the decoder.
      decoder_(encoding.Name(), QStringConverter::Flag::ConvertInitialBom), skip_(encoding.markLength)
{}

QString BookDecoder::DecodePiece(QByteArrayView piece)
{
    const qsizetype skipped = qMin(skip_, piece.size());
    skip_ -= skipped;
    piece = piece.sliced(skipped);
    return encoding_.IsUtf16() ? DecodeUtf16(piece) : DecodeBytes(piece);
}

QString BookDecoder::DecodeBytes(QByteArrayView piece)
{
    const qsizetype nul = piece.indexOf('\0');
    if (nul < 0)
        return decoder_.decode(piece);
    QString text = decoder_.decode(piece.first(nul));
    decoder_.resetState();
    return text;
}

QString BookDecoder::DecodeUtf16(QByteArrayView piece)
{
    QByteArray bytes = utf16Carry_;
    bytes.append(piece);
    utf16Carry_.clear();
    const qsizetype units = bytes.size() / 2;
    QString text;
    text.reserve(units);
    for (qsizetype u = 0; u < units; ++u) {
        const char16_t unit = Utf16UnitAt(bytes, u);
        if (unit == 0) {
            skip_ = bytes.size() % 2;
            return text;
        }
        if (QChar::isHighSurrogate(unit)) {
            if (u + 1 == units) {
                utf16Carry_ = bytes.sliced(2 * u);
                return text;
            }
            const char16_t next = Utf16UnitAt(bytes, u + 1);
            if (QChar::isLowSurrogate(next)) {
                text.append(QChar(unit));
                text.append(QChar(next));
                ++u;
            } else if (next != 0) {
                text.append(QChar(QChar::ReplacementCharacter));
            }
            // Before a NUL it is half a character and goes with the cut.
            continue;
        }
        text.append(QChar::isLowSurrogate(unit) ? QChar(QChar::ReplacementCharacter) : QChar(unit));
    }
    utf16Carry_ = bytes.sliced(2 * units);
    return text;
}

char16_t BookDecoder::Utf16UnitAt(const QByteArray &bytes, qsizetype unit) const
{
    const auto first = uchar(bytes[2 * unit]);
    const auto second = uchar(bytes[2 * unit + 1]);
    return encoding_.kind == TextEncoding::Utf16BE ? char16_t(first << 8 | second) : char16_t(second << 8 | first);
}
