#include "core/JsonReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

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

// Whether the text starts with a whole escape: a backslash and one of
// "\\/bfnrt, or u and four hexadecimal digits.
bool IsValidEscape(QByteArrayView text)
{
    if (text.size() < 2)
        return false;
    if (QByteArrayView("\"\\/bfnrt").contains(text[1]))
        return true;
    if (text[1] != 'u' || text.size() < 6)
        return false;
    for (int i = 2; i < 6; ++i) {
        if (HexValue(text[i]) < 0)
            return false;
    }
    return true;
}

// The text of a string checked by IsValidEscape, its escapes decoded. Lone
// surrogates from \u escapes are kept as they are: JSON allows them, and they
// stay one UTF-16 unit each.
QString DecodeString(QByteArrayView raw)
{
    static constexpr char kEscaped[] = "\"\\/bfnrt";
    static constexpr char16_t kMeaning[] = u"\"\\/\b\f\n\r\t";
    QString out;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\')
            continue;
        out += QString::fromUtf8(raw.sliced(runStart, i - runStart));
        const char kind = raw[i + 1];
        if (kind == 'u') {
            char16_t unit = 0;
            for (int k = 2; k < 6; ++k)
                unit = char16_t(unit << 4 | HexValue(raw[i + k]));
            out += QChar(unit);
            i += 5;
        } else {
            out += QChar(kMeaning[QByteArrayView(kEscaped).indexOf(kind)]);
            i += 1;
        }
        runStart = i + 1;
    }
    return out + QString::fromUtf8(raw.sliced(runStart));
}

// Control characters must be escaped in JSON strings. Eight bytes are
// tested at once: a byte below 0x20 sets its top bit in the result, and
// bytes of 0x80 and up (UTF-8 sequences) never do.
bool HasControlCharacter(QByteArrayView run)
{
    constexpr quint64 kOnes = 0x0101010101010101;
    qsizetype i = 0;
    for (; i + 8 <= run.size(); i += 8) {
        quint64 word;
        std::memcpy(&word, run.data() + i, 8);
        if ((word - kOnes * 0x20) & ~word & (kOnes * 0x80))
            return true;
    }
    for (; i < run.size(); ++i) {
        if (uchar(run[i]) < 0x20)
            return true;
    }
    return false;
}

// The length of the number that starts the text by JSON's grammar, 0 if none.
qsizetype NumberLength(QByteArrayView text)
{
    qsizetype i = 0;
    const auto digits = [&] {
        const qsizetype start = i;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
        return i > start;
    };
    if (i < text.size() && text[i] == '-')
        ++i;
    if (i < text.size() && text[i] == '0')
        ++i;
    else if (!digits())
        return 0;
    if (i < text.size() && text[i] == '.' && (++i, !digits()))
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (!digits())
            return 0;
    }
    return i;
}

} // namespace

JsonReader::JsonReader(QByteArrayView text) : text_(text) {}

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
    return nameEscaped_ ? DecodeString(name_) : QString::fromUtf8(name_);
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

// Checks the string as it goes: valid UTF-8, no raw control characters,
// escapes of the allowed kinds. Runs between escapes are searched at the
// speed of memchr.
std::optional<QByteArrayView> JsonReader::TakeRawString(bool &escaped)
{
    if (!Take('"'))
        return std::nullopt;
    const qsizetype start = at_;
    escaped = false;
    for (qsizetype quote = text_.indexOf('"', at_); quote >= 0; quote = text_.indexOf('"', at_)) {
        const QByteArrayView run = text_.sliced(at_, quote - at_);
        const qsizetype backslash = run.indexOf('\\');
        if (HasControlCharacter(backslash < 0 ? run : run.first(backslash)))
            break;
        if (backslash < 0) {
            const QByteArrayView raw = text_.sliced(start, quote - start);
            at_ = quote + 1;
            if (!raw.isValidUtf8())
                break;
            return raw;
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
    return escaped ? DecodeString(*raw) : QString::fromUtf8(*raw);
}

// The number's text, taken; nullopt (failed) when none starts here.
std::optional<QByteArrayView> JsonReader::TakeNumber()
{
    const char first = Peek();
    const qsizetype length = first == '-' || IsDigit(first) ? NumberLength(text_.sliced(at_)) : 0;
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
    if (number && std::from_chars(number->begin(), number->end(), value).ec == std::errc())
        return value;
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
    if (std::from_chars(number->begin(), number->end(), exact).ec == std::errc() && std::trunc(exact) == exact
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
        TakeNumber();
    }
}
