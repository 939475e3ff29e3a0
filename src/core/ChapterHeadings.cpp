#include "core/ChapterHeadings.h"

#include "core/ChapterPattern.h"
#include "core/Log.h"

#include <QStringView>

namespace {

constexpr char16_t kOrdinalMark = u'第';
constexpr char16_t kEnumerationComma = u'、';

bool IsEnumerationNumeral(QChar c)
{
    return QStringView(u"一二三四五六七八九十零").contains(c);
}

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\u3000';
}

bool IsBlankOrLineEnd(QChar c)
{
    return IsBlank(c) || c == u'\r' || c == u'\n';
}

// Where a match that ends with the comma at `comma` has to start: the first of
// the numerals right before it, not before `earliest`. Returns `comma` when no
// numeral precedes it.
qsizetype StartOfNumeralRun(QStringView text, qsizetype comma, qsizetype earliest)
{
    qsizetype start = comma;
    while (start > earliest && IsEnumerationNumeral(text[start - 1]))
        --start;
    return start;
}

} // namespace

// The engine is only handed well-formed UTF-16, because it is told not to check
// the subject on every call. Replacing lone surrogates keeps every position.
QStringView WellFormedSubject(QStringView text, QString &copy)
{
    if (text.isValidUtf16())
        return text;
    copy = text.toString();
    for (qsizetype i = 0; i < copy.size(); ++i) {
        const QChar c = copy.at(i);
        if (c.isHighSurrogate() && i + 1 < copy.size() && copy.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            copy[i] = QChar::ReplacementCharacter;
    }
    return copy;
}

QList<ChapterHeading> FindChapterHeadings(QStringView bookText)
{
    return FindChapterHeadings(bookText, ChapterPattern());
}

// Matches can only start at "第" or before a "、", so the expression is tried,
// anchored, just there; that gives the same result as a plain global search at
// a fraction of its cost. An engine error at one place (resource limits) must
// not cut the index short: it is logged and the search goes on at the next
// place a heading could start.
QList<ChapterHeading> FindChapterHeadings(QStringView bookText, const QRegularExpression &pattern)
{
    QString copy;
    const QStringView units = WellFormedSubject(bookText, copy);
    const qsizetype length = units.size();
    QList<ChapterHeading> headings;
    qsizetype resume = 0; // end of the last match; no match starts before it
    for (qsizetype scan = 0; scan < length; ++scan) {
        qsizetype start = scan;
        if (units[scan] == kEnumerationComma) {
            start = StartOfNumeralRun(units, scan, resume);
            if (start == scan)
                continue;
        } else if (units[scan] != kOrdinalMark) {
            continue;
        }
        const QRegularExpressionMatch match = pattern.match(
            units, start, QRegularExpression::NormalMatch,
            QRegularExpression::AnchorAtOffsetMatchOption | QRegularExpression::DontCheckSubjectStringMatchOption);
        if (!match.isValid()) {
            qCWarning(lcCore) << "chapter search: engine error at position" << start << "; no heading taken there";
            continue;
        }
        if (!match.hasMatch())
            continue;
        headings.append({start, bookText.sliced(start, match.capturedLength()).toString()});
        resume = match.capturedEnd();
        scan = qMax(scan, resume - 1);
    }
    return headings;
}

QString HeadItemOf(const QString &bookText)
{
    const qsizetype lineEnd = bookText.indexOf(QStringView(u"\r\n"));
    return lineEnd < 0 ? QString() : bookText.left(lineEnd + 1);
}

qsizetype LeadingBlanks(QStringView text)
{
    qsizetype blanks = 0;
    while (blanks < text.size() && IsBlankOrLineEnd(text.at(blanks)))
        ++blanks;
    return blanks;
}

void TrimBookText(QString &text)
{
    const qsizetype begin = LeadingBlanks(text);
    qsizetype end = text.size();
    while (end > begin && IsBlank(text.at(end - 1)))
        --end;
    // In place: a copy would hold a large book twice for a moment.
    text.truncate(end);
    text.remove(0, begin);
}
