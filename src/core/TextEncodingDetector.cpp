#include "core/TextEncodingDetector.h"

#include <QByteArray>
#include <uchardet.h>

namespace {

// A few corrupt bytes in a long UTF-8 file (a damaged download) should not
// turn the whole text into mojibake, while text in a double-byte code page
// breaks the UTF-8 rules every few characters: at most one malformed
// sequence per this many well-formed multi-byte characters still reads as
// UTF-8.
constexpr qsizetype kWellFormedPerMalformed = 100;

struct Utf8Census {
    qsizetype multiByte = 0;
    qsizetype malformed = 0;
    // Sequences of three or four bytes: every Chinese character in UTF-8 is
    // one. Pairs alone also occur in GBK text (一 is D2 BB, a valid UTF-8
    // pair), so a sample without any longer sequence proves nothing.
    qsizetype longSequences = 0;
};

// What a lead byte promises: the length of its sequence and the range its
// second byte must fall in (narrower than 80..BF where that rules out
// overlong forms, surrogates and values past U+10FFFF). Length 0: the byte
// cannot start a sequence.
struct LeadRule {
    qsizetype length;
    uchar secondLow;
    uchar secondHigh;
};

LeadRule RuleFor(uchar lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return {2, 0x80, 0xBF};
    if (lead == 0xE0)
        return {3, 0xA0, 0xBF};
    if (lead == 0xED)
        return {3, 0x80, 0x9F};
    if (lead >= 0xE1 && lead <= 0xEF)
        return {3, 0x80, 0xBF};
    if (lead == 0xF0)
        return {4, 0x90, 0xBF};
    if (lead >= 0xF1 && lead <= 0xF3)
        return {4, 0x80, 0xBF};
    if (lead == 0xF4)
        return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

// Counts well-formed multi-byte sequences and malformed ones; a malformed
// sequence is skipped as far as it looked right, at least one byte. A
// sequence cut off by the end of a sample that is not the whole file is
// neither: the rest of it lies beyond the sample.
Utf8Census CountUtf8(QByteArrayView bytes, bool endIsEndOfText)
{
    Utf8Census census;
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        const uchar lead = uchar(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        const LeadRule rule = RuleFor(lead);
        qsizetype matched = 1;
        while (matched < rule.length && i + matched < size) {
            const uchar next = uchar(bytes[i + matched]);
            const uchar low = matched == 1 ? rule.secondLow : uchar(0x80);
            const uchar high = matched == 1 ? rule.secondHigh : uchar(0xBF);
            if (next < low || next > high)
                break;
            ++matched;
        }
        if (rule.length > 0 && matched == rule.length) {
            ++census.multiByte;
            census.longSequences += rule.length > 2;
        } else if (rule.length > 0 && i + matched == size && !endIsEndOfText) {
            break;
        } else {
            ++census.malformed;
        }
        i += matched;
    }
    return census;
}

bool ReadsAsUtf8(QByteArrayView sample, bool sampleIsWholeFile)
{
    const Utf8Census census = CountUtf8(sample, sampleIsWholeFile);
    return census.longSequences > 0 && census.malformed * kWellFormedPerMalformed <= census.multiByte;
}

QByteArray GuessCharset(QByteArrayView sample)
{
    uchardet_t detector = uchardet_new();
    if (!detector)
        return {};
    uchardet_handle_data(detector, sample.data(), size_t(sample.size()));
    uchardet_data_end(detector);
    const QByteArray charset(uchardet_get_charset(detector));
    uchardet_delete(detector);
    return charset.toUpper();
}

TextEncoding::Kind KindOfCharset(const QByteArray &charset)
{
    if (charset == "BIG5")
        return TextEncoding::Big5;
    if (charset == "UTF-16LE")
        return TextEncoding::Utf16LE;
    if (charset == "UTF-16BE")
        return TextEncoding::Utf16BE;
    return TextEncoding::Gb18030;
}

} // namespace

const char *TextEncoding::Name() const
{
    switch (kind) {
    case Big5:
        return "Big5";
    case Utf8:
        return "UTF-8";
    case Utf16LE:
        return "UTF-16LE";
    case Utf16BE:
        return "UTF-16BE";
    case Gb18030:
        break;
    }
    return "GB18030";
}

TextEncoding ChosenEncoding(TextEncoding::Kind kind, QByteArrayView sample)
{
    const char *mark = kind == TextEncoding::Utf8 ? "\xEF\xBB\xBF"
        : kind == TextEncoding::Utf16LE           ? "\xFF\xFE"
        : kind == TextEncoding::Utf16BE           ? "\xFE\xFF"
                                                  : "";
    return {kind, *mark && sample.startsWith(mark) ? qsizetype(qstrlen(mark)) : 0};
}

std::optional<TextEncoding::Kind> EncodingNamed(const QString &name)
{
    for (const TextEncoding::Kind kind : {TextEncoding::Gb18030, TextEncoding::Big5, TextEncoding::Utf8,
                                          TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
        if (name == QLatin1String(TextEncoding{kind, 0}.Name()))
            return kind;
    }
    return std::nullopt;
}

TextEncoding DetectEncoding(QByteArrayView sample, bool sampleIsWholeFile)
{
    if (sample.startsWith("\xEF\xBB\xBF"))
        return {TextEncoding::Utf8, 3};
    if (sample.startsWith("\xFF\xFE"))
        return {TextEncoding::Utf16LE, 2};
    if (sample.startsWith("\xFE\xFF"))
        return {TextEncoding::Utf16BE, 2};
    if (ReadsAsUtf8(sample, sampleIsWholeFile))
        return {TextEncoding::Utf8, 0};
    return {KindOfCharset(GuessCharset(sample)), 0};
}
