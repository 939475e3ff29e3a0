// Writes random keys into a random settings file and checks after each write
// that the key reads back as written, that every other key read before still
// reads the same, and that the file changed in one of the ways a write may
// change it and no other:
//   - the key's line (the first one when repeated) got the new value after its
//     "=" and the blanks behind it, keeping those and its line end;
//   - or the line "key=value" CR LF was put in between two lines;
//   - or it was put at the end of the file, on its own or after a new
//     "[section]" CR LF line; an old last line without a line end then gains
//     CR LF first.
// Every other line stays byte for byte where it was.
//
// Input: the file's bytes, then up to kMaxWrites writes, each of a section, a
// key and a value made from the input (GB18030 bytes, UTF-16 code units, or
// pieces of ini syntax, Chinese and odd characters).
//
// Reading back is only expected of names and values that a line of this file
// can hold: see Fits. Every write must succeed: the file lives in a temporary
// directory of this process (put TMPDIR on a RAM disk: each write syncs).
#include "FuzzCheck.h"
#include "core/IniFile.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr size_t kMaxFileBytes = 4096;
constexpr size_t kMaxTextBytes = 32;
constexpr int kMaxWrites = 8;
constexpr int kMaxPieces = 6;
const QByteArray kCrLf = "\r\n";
// A value can never hold a line feed, so no read gives this back from the file.
const QString kMissing = QStringLiteral("\n(missing)");

// Names, ini syntax, blanks and line ends, characters that fold to ASCII
// letters (ſ, the Kelvin sign), text outside GBK, broken UTF-16, and 锘开,
// whose GB18030 bytes begin like a UTF-8 byte-order mark.
// clang-format off
const std::array<QString, 33> kPieces = {
    u"Config"_s, u"config"_s, u"路径"_s,  u"字体"_s,   u"书"_s,     u"k"_s,      u"K"_s,
    u"="_s,      u"["_s,      u"]"_s,     u";"_s,      u"#"_s,      u" "_s,      u"\t"_s,
    u"\u3000"_s, u"\u00A0"_s, u"\r"_s,    u"\n"_s,     u"\r\n"_s,   u"\u017F"_s, u"s"_s,
    u"\u212A"_s, u"ＡＢ"_s,   u"d:\\书\\"_s, u"€"_s,   u"繁體"_s,   u"😀"_s,     u"\uFEFF"_s,
    u"\uFFFD"_s, QString(QChar(0xD800)), QString(QChar(0)), u"0"_s, u"锘开"_s,
};
// clang-format on

struct Pair {
    QString section;
    QString key;
};

QByteArray Gb18030(const QString &text)
{
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}

QString FromGb18030(QByteArrayView bytes)
{
    QStringDecoder decoder("GB18030");
    return decoder.decode(bytes);
}

QString ConsumeText(FuzzedDataProvider &input)
{
    switch (input.ConsumeIntegralInRange<int>(0, 2)) {
    case 0: {
        const std::string bytes = input.ConsumeRandomLengthString(kMaxTextBytes);
        return FromGb18030(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    }
    case 1: {
        const std::string bytes = input.ConsumeRandomLengthString(kMaxTextBytes);
        QString text;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            text.append(QChar(char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8)));
        return text;
    }
    default: {
        QString text;
        for (int count = input.ConsumeIntegralInRange<int>(0, kMaxPieces); count > 0; --count)
            text += kPieces[input.ConsumeIntegralInRange<size_t>(0, kPieces.size() - 1)];
        return text;
    }
    }
}

bool Holdable(const QString &text)
{
    return FromGb18030(Gb18030(text)) == text;
}

// Names and values that a line can hold: encodable, without blanks at either
// end (they are trimmed away on reading), without a line feed; a section name
// without "]", a key without "=" that does not start a comment or a header.
bool Fits(const QString &section, const QString &key, const QString &value)
{
    const auto holds = [](const QString &text) {
        return Holdable(text) && text == text.trimmed() && !text.contains(u'\n');
    };
    const bool commentOrHeader = key.startsWith(u';') || key.startsWith(u'#') || key.startsWith(u'[');
    return holds(section) && !section.contains(u']') && holds(key) && !key.contains(u'=') && !commentOrHeader
        && holds(value);
}

bool SameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Lines with their line ends; the last one may have none.
QList<QByteArray> LinesOf(const QByteArray &content)
{
    QList<QByteArray> lines;
    for (qsizetype start = 0; start < content.size();) {
        const qsizetype lineFeed = content.indexOf('\n', start);
        const qsizetype end = lineFeed < 0 ? content.size() : lineFeed + 1;
        lines.append(content.mid(start, end - start));
        start = end;
    }
    return lines;
}

QByteArray LineEndOf(const QByteArray &line)
{
    return line.endsWith(kCrLf) ? kCrLf : line.endsWith('\n') ? QByteArray("\n") : QByteArray();
}

// The key line with its value replaced: everything up to the first "=" and the
// blanks behind it, the new value, the old line end. Nothing for other lines.
std::optional<QByteArray> WithNewValue(const QByteArray &line, const QByteArray &value)
{
    const qsizetype equals = line.indexOf('=');
    if (equals < 0)
        return std::nullopt;
    qsizetype kept = equals + 1;
    while (kept < line.size() && (line[kept] == ' ' || line[kept] == '\t'))
        ++kept;
    return line.left(kept) + value + LineEndOf(line);
}

// Whether `after` is `before` changed by one write as described at the top.
// Tries every place the change could be that leaves the bytes around it alone.
bool ChangedByOneWrite(const QByteArray &before, const QByteArray &after, const QString &section, const QString &key,
                       const QString &value)
{
    const QList<QByteArray> lines = LinesOf(before);
    const QByteArray keyLine = Gb18030(key + u'=' + value) + kCrLf;
    const QByteArray header = Gb18030(u'[' + section + u']') + kCrLf;
    const QByteArray gap = lines.isEmpty() || lines.last().endsWith('\n') ? QByteArray() : kCrLf;

    qsizetype commonStart = 0;
    while (commonStart < qMin(before.size(), after.size()) && before[commonStart] == after[commonStart])
        ++commonStart;
    qsizetype commonEnd = 0;
    while (commonEnd < qMin(before.size(), after.size())
           && before[before.size() - 1 - commonEnd] == after[after.size() - 1 - commonEnd])
        ++commonEnd;

    // The change at line `at`: it replaces `removed` lines (0 or 1) with `added`.
    const auto changeAt = [&](qsizetype lineStart, qsizetype removedBytes, const QByteArray &added) {
        const qsizetype keptEnd = before.size() - lineStart - removedBytes;
        return lineStart <= commonStart && keptEnd <= commonEnd && lineStart + added.size() + keptEnd == after.size()
            && after.mid(lineStart, added.size()) == added;
    };
    qsizetype lineStart = 0;
    for (qsizetype at = 0; at < lines.size() && lineStart <= commonStart; lineStart += lines[at++].size()) {
        const std::optional<QByteArray> replaced = WithNewValue(lines[at], Gb18030(value));
        if ((replaced && changeAt(lineStart, lines[at].size(), *replaced)) || changeAt(lineStart, 0, keyLine))
            return true;
    }
    return changeAt(before.size(), 0, gap + keyLine) || changeAt(before.size(), 0, gap + header + keyLine);
}

QString Described(const QString &section, const QString &key, const QString &value, const QByteArray &before,
                  const QByteArray &after)
{
    return QStringLiteral("write [%1] %2 = %3\nbefore %4\nafter  %5")
        .arg(Shown(section), Shown(key), Shown(value), Shown(before), Shown(after));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("config.ini"));

    FuzzedDataProvider input(data, size);
    const std::string initial = input.ConsumeRandomLengthString(kMaxFileBytes);
    {
        QFile file(path);
        FUZZ_REQUIRE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                         && file.write(initial.data(), qint64(initial.size())) == qint64(initial.size()),
                     path);
    }

    QList<Pair> written;
    for (int write = 0; write < kMaxWrites && input.remaining_bytes() > 0; ++write) {
        const QString section = ConsumeText(input);
        const QString key = ConsumeText(input);
        const QString value = ConsumeText(input);

        const QByteArray before = FileBytes(path);
        QStringList valuesBefore;
        for (const Pair &pair : written)
            valuesBefore.append(ReadIniValue(path, pair.section, pair.key, kMissing));

        FUZZ_REQUIRE(WriteIniValue(path, section, key, value), Described(section, key, value, before, before));
        const QByteArray after = FileBytes(path);
        FUZZ_REQUIRE(ChangedByOneWrite(before, after, section, key, value),
                     Described(section, key, value, before, after));

        // A value with a line feed, say, makes new lines that may hold anything.
        if (Fits(section, key, value)) {
            const QString read = ReadIniValue(path, section, key, kMissing);
            FUZZ_REQUIRE(read == value,
                         Described(section, key, value, before, after) + u"\nread back "_s + Shown(read));
            for (qsizetype i = 0; i < written.size(); ++i) {
                const Pair &pair = written[i];
                const bool same = SameName(pair.section, section) && SameName(pair.key, key);
                const QString expected = same ? value : valuesBefore[i];
                const QString now = ReadIniValue(path, pair.section, pair.key, kMissing);
                FUZZ_REQUIRE(now == expected,
                             Described(section, key, value, before, after)
                                 + QStringLiteral("\n[%1] %2 reads %3, expected %4")
                                       .arg(Shown(pair.section), Shown(pair.key), Shown(now), Shown(expected)));
            }
        }
        written.append({section, key});
    }
    return 0;
}
