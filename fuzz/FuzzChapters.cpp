// Checks the chapter index on text made from the input: the heading search
// and the strict rule against the tests' slow reference scans, the search
// split over threads against the one-thread search, and the trimmed text and
// head item against what they promise.
//
// Input: the first byte chooses how the rest becomes text. Even: the bytes are
// decoded as GB18030, as a book is. Odd: each byte picks one character of a
// small alphabet of heading material, which reaches far more of the pattern;
// its lone low surrogate stands for broken text. Its other bits choose the
// threads and the length of the parts for the split search.
//
// The reference reads UTF-16 code units where the engine reads characters, so
// the two part ways on characters beyond the BMP: to the engine 第𠀀𠀀𠀀𠀀章 has
// four characters between 第 and 章, to the reference eight, and 𠀀 is a letter
// before 一、 to the engine only. Such text is compared with each of those
// characters replaced by U+FFFD; on the text itself the search only has to
// give headings in book order, without overlaps, each standing where it says.
#include "FuzzCheck.h"
#include "ReferenceChapterScan.h"
#include "core/ChapterHeadings.h"
#include "core/ChapterRules.h"
#include "core/SplitChapterIndex.h"

#include <QStringDecoder>
#include <QStringView>

#include <cstdint>

namespace {

// Keywords, numerals, the enumeration comma, line ends, blanks, a Latin and a
// Chinese word character, punctuation, a lone surrogate; then what else the
// strict rule reads: its opening words, formal numerals and digits.
constexpr QStringView kAlphabet =
    u"第章回卷节集部一二十百千万零〇两、\r\n \t\u3000a中，—\xDC00序楔子引言前后记尾声番外终壹拾9９";

QString FromAlphabet(const uint8_t *data, size_t size)
{
    QString text;
    text.reserve(qsizetype(size));
    for (size_t i = 0; i < size; ++i)
        text.append(kAlphabet[data[i] % kAlphabet.size()]);
    return text;
}

QString FromGb18030(const uint8_t *data, size_t size)
{
    QStringDecoder decoder("GB18030");
    return decoder.decode(QByteArrayView(data, qsizetype(size)));
}

QString Listed(const QList<ChapterHeading> &headings)
{
    QString listed;
    for (const ChapterHeading &heading : headings)
        listed += QStringLiteral("\n  %1 %2").arg(heading.position).arg(Shown(heading.text));
    return listed;
}

bool SameHeadings(const QList<ChapterHeading> &a, const QList<ChapterHeading> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].position != b[i].position || a[i].text != b[i].text)
            return false;
    }
    return true;
}

QString WithinBmp(const QString &text)
{
    QString bmp;
    bmp.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        bmp.append(pair ? QChar(QChar::ReplacementCharacter) : text[i]);
        i += pair ? 1 : 0;
    }
    return bmp;
}

void CheckHeadingsInPlace(const QString &text)
{
    const QList<ChapterHeading> found = FindChapterHeadings(text);
    qsizetype end = 0;
    for (const ChapterHeading &heading : found) {
        FUZZ_REQUIRE(heading.position >= end && !heading.text.isEmpty()
                         && text.mid(heading.position, heading.text.size()) == heading.text,
                     QStringLiteral("text %1\nfound%2").arg(Shown(text), Listed(found)));
        end = heading.position + heading.text.size();
    }
}

void CheckHeadings(const QString &original)
{
    const QString text = WithinBmp(original);
    if (text.size() != original.size())
        CheckHeadingsInPlace(original);

    const QList<ChapterHeading> found = FindChapterHeadings(text);
    const QList<ChapterHeading> reference = ReferenceChapterScan(text);
    FUZZ_REQUIRE(SameHeadings(found, reference),
                 QStringLiteral("text %1\nfound%2\nreference%3").arg(Shown(text), Listed(found), Listed(reference)));

    const QList<ChapterHeading> strict = FindHeadingsByRule(text, {ChapterRule::Strict, {}});
    const QList<ChapterHeading> strictReference = ReferenceStrictScan(text);
    FUZZ_REQUIRE(SameHeadings(strict, strictReference),
                 QStringLiteral("text %1\nstrict rule found%2\nreference%3")
                     .arg(Shown(text), Listed(strict), Listed(strictReference)));
}

// How the split search shares out the text.
struct Split {
    int threads = 1;
    qsizetype partLength = 1;
};

// The default and the strict rule find the same headings in the text cut
// into parts at line starts as in the whole.
void CheckSplitSearch(const QString &text, const Split &split)
{
    for (const ChapterRule::Kind kind : {ChapterRule::Default, ChapterRule::Strict}) {
        const ChapterRule rule{kind, {}};
        const QList<ChapterHeading> whole = FindHeadingsByRule(text, rule);
        const std::optional<QList<ChapterHeading>> parted =
            FindHeadingsOnThreads(text, rule, split.threads, {}, split.partLength);
        FUZZ_REQUIRE(parted && SameHeadings(*parted, whole),
                     QStringLiteral("text %1\nrule %2, %3 threads, parts of %4\nsplit search found%5\nwhole%6")
                         .arg(Shown(text), rule.Key())
                         .arg(split.threads)
                         .arg(split.partLength)
                         .arg(Listed(parted.value_or(QList<ChapterHeading>())), Listed(whole)));
    }
}

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\u3000';
}

bool IsBlankOrLineEnd(QChar c)
{
    return IsBlank(c) || c == u'\r' || c == u'\n';
}

// The trimmed text is the original without its leading blanks and line ends and
// without its trailing blanks: what remains starts and ends with something else.
void CheckTrimmed(const QString &text, const QString &trimmed)
{
    const auto details = [&] { return QStringLiteral("text %1\ntrimmed %2").arg(Shown(text), Shown(trimmed)); };
    if (trimmed.isEmpty()) {
        for (const QChar c : text)
            FUZZ_REQUIRE(IsBlankOrLineEnd(c), details());
        return;
    }
    // No earlier occurrence can start with something other than a blank or line end.
    const qsizetype begin = text.indexOf(trimmed);
    FUZZ_REQUIRE(begin >= 0, details());
    for (qsizetype i = 0; i < begin; ++i)
        FUZZ_REQUIRE(IsBlankOrLineEnd(text[i]), details());
    for (qsizetype i = begin + trimmed.size(); i < text.size(); ++i)
        FUZZ_REQUIRE(IsBlank(text[i]), details());
    FUZZ_REQUIRE(!IsBlankOrLineEnd(trimmed.front()) && !IsBlank(trimmed.back()), details());
}

// The head item is the text up to its first CR LF, that CR included; empty
// when there is no CR LF.
void CheckHeadItem(const QString &text)
{
    const QString head = HeadItemOf(text);
    const auto details = [&] { return QStringLiteral("text %1\nhead item %2").arg(Shown(text), Shown(head)); };
    if (head.isEmpty()) {
        FUZZ_REQUIRE(!text.contains(QStringView(u"\r\n")), details());
        return;
    }
    FUZZ_REQUIRE(text.startsWith(head) && head.endsWith(u'\r'), details());
    FUZZ_REQUIRE(text.size() > head.size() && text[head.size()] == u'\n', details());
    FUZZ_REQUIRE(!head.contains(QStringView(u"\r\n")), details());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const bool fromAlphabet = data[0] % 2 == 1;
    const Split split{1 + (data[0] >> 1) % 3, 1 + (data[0] >> 3)};
    const QString text = fromAlphabet ? FromAlphabet(data + 1, size - 1) : FromGb18030(data + 1, size - 1);

    CheckHeadings(text);
    CheckSplitSearch(text, split);
    // The reader searches the trimmed text and takes its head item from there.
    QString trimmed = text;
    TrimBookText(trimmed);
    CheckTrimmed(text, trimmed);
    if (trimmed.size() != text.size()) {
        CheckHeadings(trimmed);
        CheckSplitSearch(trimmed, split);
    }
    CheckHeadItem(trimmed);
    return 0;
}
