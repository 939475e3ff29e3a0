#include "core/ChapterJump.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// A whole number in ASCII or full-width digits; -1 for anything else.
int ChapterNumber(const QString &text)
{
    QString digits;
    for (const QChar c : text) {
        if (!c.isDigit() || c.digitValue() < 0)
            return -1;
        digits += QChar(u'0' + c.digitValue());
    }
    bool ok = false;
    const int number = digits.toInt(&ok);
    return ok ? number : -1;
}

bool HoldsEveryWord(const QString &title, const QStringList &words)
{
    for (const QString &word : words)
        if (!title.contains(word, Qt::CaseInsensitive))
            return false;
    return true;
}

} // namespace

int FindChapterToJump(const OpenBook &book, const QString &query, int current)
{
    const QString wanted = query.trimmed();
    if (wanted.isEmpty())
        return -1;
    if (const int number = ChapterNumber(wanted); number >= 0)
        return book.ChapterWithNumber(number);
    const QStringList words = wanted.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    const int count = book.ChapterCount();
    for (int step = 1; step <= count; ++step) {
        // After the current chapter to the end, then from the head on.
        const int n = current + step < count ? current + step : current + step - count;
        if (n >= 0 && n < count && HoldsEveryWord(book.ChapterTitle(n), words))
            return n;
    }
    return -1;
}
