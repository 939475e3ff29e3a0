#include "core/Gb18030Iconv.h"

#include <QSysInfo>

#include <iconv.h>

namespace {

constexpr const char *kUnits = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";
// Units looked at in one go: a loop of known length without branches is one
// the compiler takes many units a step.
constexpr qsizetype kBlock = 1024;

// Nonzero when any unit lies in the private use area or the surrogates, which
// lie next to each other, or is a standard character that an edition of
// GB18030 moved out of that area.
char16_t DisputedIn(const char16_t *units, qsizetype count)
{
    char16_t found = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const char16_t unit = units[i];
        found |= char16_t(char16_t(unit - 0xD800) < 0x2100) | char16_t(char16_t(unit - 0xFE10) < 10)
            | char16_t(char16_t(unit - 0x9FB4) < 8) | char16_t(unit == 0x1E3F);
    }
    return found;
}

bool HoldsDisputed(QStringView text)
{
    const char16_t *units = text.utf16();
    qsizetype start = 0;
    for (; start + kBlock <= text.size(); start += kBlock) {
        if (DisputedIn(units + start, kBlock))
            return true;
    }
    return DisputedIn(units + start, text.size() - start) != 0;
}

// Decodes into room at `out` that holds a unit per byte, which is all a
// GB18030 byte can give; the units written, or -1 when iconv stopped early
// or took a sequence it cannot convert back.
qsizetype IconvUnits(QByteArrayView bytes, char16_t *out)
{
    const iconv_t converter = iconv_open(kUnits, "GB18030");
    // iconv_open says "failed" with (iconv_t)-1.
    if (converter == iconv_t(-1)) // NOLINT(performance-no-int-to-ptr)
        return -1;
    char *in = const_cast<char *>(bytes.data());
    size_t inLeft = size_t(bytes.size());
    char *written = reinterpret_cast<char *>(out);
    size_t room = size_t(bytes.size()) * sizeof(char16_t);
    const size_t irreversible = iconv(converter, &in, &inLeft, &written, &room);
    iconv_close(converter);
    if (irreversible != 0 || inLeft != 0)
        return -1;
    return qsizetype(reinterpret_cast<char16_t *>(written) - out);
}

} // namespace

bool AppendGb18030ByIconv(QByteArrayView bytes, QString &text)
{
    const qsizetype had = text.size();
    text.resize(had + bytes.size());
    const qsizetype units = IconvUnits(bytes, reinterpret_cast<char16_t *>(text.data() + had));
    const bool exact = units >= 0 && !HoldsDisputed(QStringView(text).sliced(had, units));
    text.truncate(exact ? had + units : had);
    return exact;
}
