// Two checks of the book decoding on the same bytes.
//
// Streamed: BookDecoder is fed the book in pieces of random sizes, and the
// pieces' text must be what a single decoder makes of the same bytes,
// whatever the boundaries.
//
// Split: the book is read as the loader reads it, in pieces of one size up to
// a length, and decoded in parts on several threads (ReadBookText), and also
// cut at every split point the bytes allow and decoded part by part
// (AppendBookPart); both texts must equal, character for character, the
// one-thread loop's: one BookDecoder fed the same pieces in order. All five
// encodings, a byte-order mark where the bytes start with one; the length
// may fall short of the bytes (a file that grew) or beyond them (one that
// shrank); a reading that is cancelled must give no text.
//
// Input: the book's bytes are taken from the front, the numbers from the
// back (FuzzedDataProvider): first the encoding, piece size, threads, part
// size, length and cancelling for the split check, then the streamed piece
// lengths, so a mutation moves boundaries or bytes, not both.
//
// Streamed, in detail. A piece is cut at its first NUL byte and the cut
// drops any half character carried so far. So the expected text is built
// per segment: the bytes kept since the last such cut, decoded by one fresh
// decoder. Without NUL bytes there is one segment and the expectation is the
// one-shot decode of the whole input.
//
// Not compared: input with a piece of one or two bytes that follows bytes the
// decoder holds back. Qt's ICU-backed decoders make room for two UTF-16 units per byte of the
// call; held bytes that turn out not to start a character are replayed into
// that room first, and the call's own bytes that no longer fit are dropped
// (Qt 6.4 and later, QStringConverterICU::toLen). BookDecoder passes that on.
// Nor UTF-16, which BookDecoder decodes by hand with a NUL rule of its own.
//
// At the end of the input both sides are decoders that are never flushed: a
// trailing incomplete multi-byte sequence is held back by each and shows up in
// neither text. (Qt 6.4's ICU-backed GB18030 decoder never flushes, not even
// with the Stateless flag, so a one-shot decode gives no U+FFFD for it either.)
#include "FuzzCheck.h"
#include "core/BookDecoder.h"
#include "core/BookReading.h"
#include "core/PartDecoding.h"

#include <QBuffer>
#include <QByteArray>
#include <QStringDecoder>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>

namespace {

constexpr std::array kEncodings = {TextEncoding::Gb18030, TextEncoding::Big5, TextEncoding::Utf8, TextEncoding::Utf16LE,
                                   TextEncoding::Utf16BE};

constexpr size_t kMaxPiece = 24;
// Pieces of the split check hold 2 to 2 * kMaxHalfPiece bytes, so that small
// inputs span many of them.
constexpr qint64 kMaxHalfPiece = 32;

// What the split check is asked to do with the bytes.
struct SplitCase {
    TextEncoding::Kind kind = TextEncoding::Gb18030;
    ReadingSplit split;
    // Added to the number of bytes for the length read; past the bytes the
    // file shrank, short of them it grew.
    qint64 lengthOffset = 0;
    // The cancel check says yes from its this-many-th call on; 0: never.
    int cancelFrom = 0;
};

SplitCase ConsumeSplitCase(FuzzedDataProvider &input)
{
    SplitCase split;
    split.kind = kEncodings[input.ConsumeIntegralInRange<size_t>(0, kEncodings.size() - 1)];
    split.split.pieceSize = 2 * input.ConsumeIntegralInRange<qint64>(1, kMaxHalfPiece);
    split.split.threads = input.ConsumeIntegralInRange(1, 3);
    split.split.partSize = input.ConsumeIntegralInRange<qint64>(1, 4 * kMaxHalfPiece);
    const int length = input.ConsumeIntegral<uint8_t>();
    split.lengthOffset = length < 192 ? 0 : length < 224 ? 191 - length : length - 223;
    const int cancel = input.ConsumeIntegral<uint8_t>();
    split.cancelFrom = cancel < 224 ? 0 : cancel - 223;
    return split;
}

// What the one-thread loader made of a file: its text, the pieces it read
// and the bytes they held.
struct OneThreadRead {
    QString text;
    qint64 pieces = 0;
    QByteArray bytes;
};

OneThreadRead ReadOnOneThread(QByteArray file, qint64 length, const TextEncoding &encoding, qint64 pieceSize)
{
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    BookDecoder decoder(encoding);
    OneThreadRead read;
    for (;;) {
        const qint64 position = buffer.pos();
        const qint64 pieceLength = qBound<qint64>(0, length - position, pieceSize);
        const QByteArray piece = buffer.read(pieceLength);
        read.text += decoder.DecodePiece(piece);
        read.bytes += piece;
        ++read.pieces;
        if (piece.size() < pieceLength || buffer.pos() >= length)
            return read;
    }
}

// The first NUL character of a piece (a zero byte, or in UTF-16 a zero unit)
// cuts it; every line feed before it ends a stretch that decodes on its own,
// in a byte encoding when three bytes or more of the piece lie before the
// stretch's end (see SplitPoints.h).
QList<qsizetype> SplitPointsOfPiece(QByteArrayView piece, const TextEncoding &encoding)
{
    const qsizetype width = encoding.IsUtf16() ? 2 : 1;
    const QByteArray lineFeed = !encoding.IsUtf16() ? QByteArray("\n")
        : encoding.kind == TextEncoding::Utf16LE    ? QByteArray("\n\0", 2)
                                                    : QByteArray("\0\n", 2);
    QList<qsizetype> points;
    for (qsizetype at = 0; at + width <= piece.size(); at += width) {
        const QByteArrayView character = piece.sliced(at, width);
        if (character == QByteArray(width, '\0'))
            break;
        if (character == lineFeed && (encoding.IsUtf16() || at + width >= 3))
            points.append(at + width);
    }
    return points;
}

// The bytes cut at every split point, each part decoded on its own.
QString DecodedAtEverySplit(const QByteArray &bytes, const TextEncoding &encoding, qint64 pieceSize)
{
    QString text;
    qint64 partStart = 0;
    for (qint64 pieceStart = 0; pieceStart < bytes.size(); pieceStart += pieceSize) {
        const QByteArrayView piece =
            QByteArrayView(bytes).sliced(pieceStart).first(qMin<qint64>(pieceSize, bytes.size() - pieceStart));
        for (const qsizetype point : SplitPointsOfPiece(piece, encoding)) {
            const qint64 partEnd = pieceStart + point;
            AppendBookPart(QByteArrayView(bytes).sliced(partStart, partEnd - partStart), partStart, encoding, pieceSize,
                           text);
            partStart = partEnd;
        }
    }
    AppendBookPart(QByteArrayView(bytes).sliced(partStart), partStart, encoding, pieceSize, text);
    return text;
}

QString SplitDetails(const QByteArray &bytes, const SplitCase &split, const QString &found, const QString &expected)
{
    return QStringLiteral("encoding %1, pieces of %2, threads %3, parts of %4, length offset %5\nbytes %6\n"
                          "found %7\nexpected %8")
        .arg(TextEncoding{split.kind, 0}.Name())
        .arg(split.split.pieceSize)
        .arg(split.split.threads)
        .arg(split.split.partSize)
        .arg(split.lengthOffset)
        .arg(QString::fromLatin1(bytes.toHex(' ')), Shown(found), Shown(expected));
}

void CheckReadOnThreads(const QByteArray &file, const SplitCase &split)
{
    const TextEncoding encoding = ChosenEncoding(split.kind, file);
    const qint64 length = qMax<qint64>(0, file.size() + split.lengthOffset);
    const OneThreadRead expected = ReadOnOneThread(file, length, encoding, split.split.pieceSize);
    const QString everySplit = DecodedAtEverySplit(expected.bytes, encoding, split.split.pieceSize);
    FUZZ_REQUIRE(everySplit == expected.text, SplitDetails(file, split, everySplit, expected.text));

    QByteArray bytes = file;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    int checks = 0;
    QList<qint64> reported;
    const std::optional<QString> read = ReadBookText(
        buffer, length, encoding, [&] { return split.cancelFrom > 0 && ++checks >= split.cancelFrom; },
        [&](qint64 pieces) { reported.append(pieces); }, split.split);
    const bool cancelled = split.cancelFrom > 0 && checks >= split.cancelFrom;
    FUZZ_REQUIRE(read.has_value() != cancelled, SplitDetails(file, split, read.value_or(QString()), expected.text));
    if (cancelled)
        return;
    FUZZ_REQUIRE(*read == expected.text, SplitDetails(file, split, *read, expected.text));
    // Counts that only ever grow, the last one every piece read.
    const bool growing =
        std::adjacent_find(reported.cbegin(), reported.cend(), std::greater_equal<qint64>()) == reported.cend();
    FUZZ_REQUIRE(growing && !reported.isEmpty() && reported.last() == expected.pieces,
                 QStringLiteral("pieces %1, reported %2").arg(expected.pieces).arg(Shown(reported)));
}

// A U+FEFF at the start stays, as in BookDecoder, which skips a byte-order
// mark by its length only.
QString DecodedAtOnce(const char *encoding, const QByteArray &bytes)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

// Held bytes come out as soon as a line feed follows them: no GB18030 or Big5
// character goes on with a line feed (those are the ones Qt reads through ICU).
bool HoldsBytes(const char *encoding, const QByteArray &bytes)
{
    return DecodedAtOnce(encoding, bytes + '\n') != DecodedAtOnce(encoding, bytes) + u'\n';
}

bool IsValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

// The streamed check; returns the bytes it fed.
QByteArray CheckStreamed(FuzzedDataProvider &input, const TextEncoding &chosen)
{
    const char *encoding = chosen.Name();
    BookDecoder decoder(chosen);
    QString streamed;
    QString expected;
    QByteArray segment; // bytes kept since the last cut at a NUL
    QByteArray whole;
    bool comparable = !chosen.IsUtf16();
    while (input.remaining_bytes() > 0) {
        const std::string piece = input.ConsumeBytesAsString(input.ConsumeIntegralInRange<size_t>(0, kMaxPiece));
        const size_t nul = piece.find('\0');
        const size_t kept = nul == std::string::npos ? piece.size() : nul;
        comparable = comparable && !((kept == 1 || kept == 2) && HoldsBytes(encoding, segment));
        whole.append(piece.data(), qsizetype(piece.size()));
        streamed += decoder.DecodePiece(QByteArrayView(piece.data(), qsizetype(piece.size())));
        segment.append(piece.data(), qsizetype(kept));
        if (nul != std::string::npos) {
            expected += DecodedAtOnce(encoding, segment);
            segment.clear();
        }
    }
    expected += DecodedAtOnce(encoding, segment);
    // Qt's UTF-8 decoder resynchronises differently in a stream than in one
    // piece when a malformed sequence spans a piece boundary; valid UTF-8
    // decodes the same either way.
    comparable = comparable && (chosen.kind != TextEncoding::Utf8 || IsValidUtf8(whole));
    FUZZ_REQUIRE(!comparable || streamed == expected,
                 QStringLiteral("bytes %1\nstreamed %2\nexpected %3")
                     .arg(QString::fromLatin1(whole.toHex(' ')), Shown(streamed), Shown(expected)));
    return whole;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const SplitCase split = ConsumeSplitCase(input);
    const QByteArray whole = CheckStreamed(input, TextEncoding{split.kind, 0});
    CheckReadOnThreads(whole, split);
    return 0;
}
