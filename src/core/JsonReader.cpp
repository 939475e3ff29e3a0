#include "core/JsonReader.h"

#include <QStringDecoder>
#include <algorithm>

#include <charconv>
#include <cmath>

namespace {

constexpr int kDeepest = 64;
// Integers beyond this are not held exactly by a double, nor by JSON readers
// that use one.
constexpr double kLargestExactInteger = 9007199254740992.0; // 2^53

bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexValue(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Whether the text starts with a whole escape: a backslash and u with four
// hexadecimal digits, or any other byte, which stands for itself (as a
// Latin-1 character) unless it is one of bfnrt. Qt's JSON reader is as
// lenient as this.
bool IsValidEscape(QByteArrayView text)
{
    if (text.size() < 2)
        return false;
    if (text[1] != 'u')
        return true;
    if (text.size() < 6)
        return false;
    for (int i = 2; i < 6; ++i) {
        if (HexValue(text[i]) < 0)
            return false;
    }
    return true;
}

// UTF-8 text, a byte-order mark at its start included: in a string it is a
// character like any other, which QString::fromUtf8 would drop.
QString Utf8Text(QByteArrayView utf8)
{
    if (!utf8.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(utf8);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(utf8);
}

// The text of a string checked by IsValidEscape, its escapes decoded. Lone
// surrogates from \u escapes are kept as they are: JSON allows them, and they
// stay one UTF-16 unit each.
QString DecodeString(QByteArrayView raw)
{
    static constexpr char kEscaped[] = "bfnrt";
    static constexpr char16_t kMeaning[] = u"\b\f\n\r\t";
    QString out;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\')
            continue;
        out += Utf8Text(raw.sliced(runStart, i - runStart));
        const char kind = raw[i + 1];
        if (kind == 'u') {
            char16_t unit = 0;
            for (int k = 2; k < 6; ++k)
                unit = char16_t(unit << 4 | HexValue(raw[i + k]));
            out += QChar(unit);
            i += 5;
        } else {
            const qsizetype meaning = QByteArrayView(kEscaped).indexOf(kind);
            out += meaning >= 0 ? QChar(kMeaning[meaning]) : QChar(char16_t(uchar(kind)));
            i += 1;
        }
        runStart = i + 1;
    }
    return out + Utf8Text(raw.sliced(runStart));
}

// The length of the number that starts the text, 0 if none. The grammar is
// JSON's with Qt's leniency: the digits before or after the point may be
// missing (1. and .5), not both.
qsizetype NumberLength(QByteArrayView text)
{
    qsizetype i = 0;
    const auto digits = [&] {
        const qsizetype start = i;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
        return i - start;
    };
    if (i < text.size() && text[i] == '-')
        ++i;
    qsizetype mantissa = 0;
    if (i < text.size() && text[i] == '0')
        ++i, mantissa = 1;
    else
        mantissa = digits();
    if (i < text.size() && text[i] == '.')
        ++i, mantissa += digits();
    if (mantissa == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (digits() == 0)
            return 0;
    }
    return i;
}

} // namespace

JsonReader::JsonReader(QByteArrayView text) : text_(text)
{
    // A byte-order mark may open the text, as editors on Windows write it.
    if (text_.startsWith("\xEF\xBB\xBF"))
        at_ = 3;
}

void JsonReader::Fail()
{
    failed_ = true;
}

void JsonReader::SkipWhiteSpace()
{
    while (at_ < text_.size() && IsWhiteSpace(text_[at_]))
        ++at_;
}

bool JsonReader::Take(char expected)
{
    if (Peek() != expected) {
        Fail();
        return false;
    }
    ++at_;
    return true;
}

bool JsonReader::AtEnd()
{
    SkipWhiteSpace();
    return !failed_ && at_ == text_.size();
}

bool JsonReader::EnterObject()
{
    first_ = true;
    return Take('{');
}

bool JsonReader::EnterArray()
{
    first_ = true;
    return Take('[');
}

bool JsonReader::NextMember()
{
    if (Peek() == '}') {
        ++at_;
        first_ = false;
        return false;
    }
    if (!first_ && !Take(','))
        return false;
    first_ = false;
    const std::optional<QByteArrayView> name = TakeRawString(nameEscaped_);
    if (!name || !Take(':'))
        return false;
    name_ = *name;
    return true;
}

QString JsonReader::Name() const
{
    return nameEscaped_ ? DecodeString(name_) : Utf8Text(name_);
}

bool JsonReader::NameIs(QByteArrayView name) const
{
    return nameEscaped_ ? Name() == QLatin1StringView(name) : name_ == name;
}

bool JsonReader::NextElement()
{
    if (Peek() == ']') {
        ++at_;
        first_ = false;
        return false;
    }
    if (failed_ || (!first_ && !Take(',')))
        return false;
    first_ = false;
    return true;
}

// Checks the string as it goes: valid UTF-8 between the escapes, and
// escapes of the allowed kinds. Raw control characters pass, as they do in
// Qt's JSON reader. Runs between escapes are searched at the speed of memchr.
std::optional<QByteArrayView> JsonReader::TakeRawString(bool &escaped)
{
    if (!Take('"'))
        return std::nullopt;
    const qsizetype start = at_;
    escaped = false;
    for (qsizetype quote = text_.indexOf('"', at_); quote >= 0; quote = text_.indexOf('"', at_)) {
        const QByteArrayView run = text_.sliced(at_, quote - at_);
        const qsizetype backslash = run.indexOf('\\');
        if (!(backslash < 0 ? run : run.first(backslash)).isValidUtf8())
            break;
        if (backslash < 0) {
            at_ = quote + 1;
            return text_.sliced(start, quote - start);
        }
        // The quote found may be an escaped one: step over the escape first.
        const QByteArrayView escape = text_.sliced(at_ + backslash);
        if (!IsValidEscape(escape))
            break;
        escaped = true;
        at_ += backslash + (escape[1] == 'u' ? 6 : 2);
    }
    Fail();
    return std::nullopt;
}

std::optional<QString> JsonReader::String()
{
    bool escaped = false;
    const std::optional<QByteArrayView> raw = TakeRawString(escaped);
    if (!raw)
        return std::nullopt;
    return escaped ? DecodeString(*raw) : Utf8Text(*raw);
}

// The number's text, taken; nullopt (failed) when none starts here.
std::optional<QByteArrayView> JsonReader::TakeNumber()
{
    const char first = Peek();
    const qsizetype length = first == '-' || first == '.' || IsDigit(first) ? NumberLength(text_.sliced(at_)) : 0;
    if (length == 0) {
        Fail();
        return std::nullopt;
    }
    const QByteArrayView number = text_.sliced(at_, length);
    at_ += length;
    return number;
}

std::optional<double> JsonReader::Number()
{
    const std::optional<QByteArrayView> number = TakeNumber();
    double value = 0;
    if (number) {
        const auto [end, error] = std::from_chars(number->begin(), number->end(), value);
        if (error == std::errc() && end == number->end())
            return value;
    }
    Fail();
    return std::nullopt;
}

std::optional<qint64> JsonReader::Integer()
{
    const std::optional<QByteArrayView> number = TakeNumber();
    if (!number)
        return std::nullopt;
    // Most integers are plain digits: read them as such; 1.0 or 1e3 go the
    // long way.
    qint64 value = 0;
    const auto [end, error] = std::from_chars(number->begin(), number->end(), value);
    if (error == std::errc() && end == number->end() && std::abs(value) <= qint64(kLargestExactInteger))
        return value;
    double exact = 0;
    const auto [exactEnd, exactError] = std::from_chars(number->begin(), number->end(), exact);
    if (exactError == std::errc() && exactEnd == number->end() && std::trunc(exact) == exact
        && std::abs(exact) <= kLargestExactInteger)
        return qint64(exact);
    Fail();
    return std::nullopt;
}

bool JsonReader::TakeLiteral(QByteArrayView literal)
{
    if (text_.sliced(at_).startsWith(literal)) {
        at_ += literal.size();
        return true;
    }
    Fail();
    return false;
}

std::optional<bool> JsonReader::Bool()
{
    const char c = Peek();
    if (c == 't' && TakeLiteral("true"))
        return true;
    if (c == 'f' && TakeLiteral("false"))
        return false;
    Fail();
    return std::nullopt;
}

void JsonReader::SkipContainer(char close)
{
    if (++depth_ > kDeepest) {
        Fail();
        return;
    }
    if (close == '}') {
        while (NextMember())
            SkipValue();
    } else {
        while (NextElement())
            SkipValue();
    }
    --depth_;
}

void JsonReader::SkipValue()
{
    switch (Peek()) {
    case '{':
        EnterObject();
        return SkipContainer('}');
    case '[':
        EnterArray();
        return SkipContainer(']');
    case '"': {
        bool escaped = false;
        TakeRawString(escaped);
        return;
    }
    case 't':
    case 'f':
        Bool();
        return;
    case 'n':
        TakeLiteral("null");
        return;
    default:
        Number();
    }
}
