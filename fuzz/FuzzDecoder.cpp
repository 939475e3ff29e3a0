// Feeds a book to BookDecoder in pieces of random sizes and checks that the
// pieces' text is what a single decoder makes of the same bytes, whatever the
// boundaries.
//
// Input: the book's bytes are taken from the front, the piece lengths from the
// back (FuzzedDataProvider), so a mutation moves boundaries or bytes, not both.
//
// A piece is cut at its first NUL byte and the cut drops any half character
// carried so far. So the expected text is built per segment: the bytes kept
// since the last such cut, decoded by one fresh decoder. Without NUL bytes
// there is one segment and the expectation is the one-shot decode of the whole
// input.
//
// Not compared: input with a piece of one or two bytes that follows bytes the
// decoder holds back. Qt's ICU-backed decoders make room for two UTF-16 units per byte of the
// call; held bytes that turn out not to start a character are replayed into
// that room first, and the call's own bytes that no longer fit are dropped
// (Qt 6.4 and later, QStringConverterICU::toLen). BookDecoder passes that on.
//
// At the end of the input both sides are decoders that are never flushed: a
// trailing incomplete multi-byte sequence is held back by each and shows up in
// neither text. (Qt 6.4's ICU-backed GB18030 decoder never flushes, not even
// with the Stateless flag, so a one-shot decode gives no U+FFFD for it either.)
#include "FuzzCheck.h"
#include "core/BookDecoder.h"

#include <QByteArray>
#include <QStringDecoder>

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>

namespace {

// The byte encodings the book decoder reads through Qt; UTF-16 is decoded by
// hand with a NUL rule of its own and is not compared here.
constexpr std::array kEncodings = {TextEncoding::Gb18030, TextEncoding::Big5, TextEncoding::Utf8};

constexpr size_t kMaxPiece = 24;

QString DecodedAtOnce(const char *encoding, const QByteArray &bytes)
{
    QStringDecoder decoder(encoding);
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const TextEncoding chosen{kEncodings[input.ConsumeIntegralInRange<size_t>(0, kEncodings.size() - 1)], 0};
    const char *encoding = chosen.Name();
    BookDecoder decoder(chosen);

    QString streamed;
    QString expected;
    QByteArray segment; // bytes kept since the last cut at a NUL
    QByteArray whole;
    bool comparable = true;
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
    return 0;
}
