#include "ChapterHeadings.h"
#include <QRegularExpression>
QList<ChapterHeading> FindChapterHeadings(const QString &bookText)
{
    static const QRegularExpression re(QStringLiteral(R"(第[^章]{1,6}章[^\n]+|第[^回]{1,6}回[^\n]+|第[^卷]{1,6}卷[^\n]+|第[^节]{1,6}节[^\n]+|第[^集]{1,6}集[^\n]+|第[^部]{1,6}部[^\n]+|\b[一二三四五六七八九十零]+、[^\n]+)"), QRegularExpression::UseUnicodePropertiesOption);
    QList<ChapterHeading> out;
    auto it = re.globalMatch(bookText);
    while (it.hasNext()) { auto m = it.next(); out.append({m.capturedStart(), m.captured()}); }
    return out;
}
QString HeadItemOf(const QString &t) { qsizetype p = t.indexOf(QStringLiteral("\r\n")); return p < 0 ? QString() : t.left(p + 1); }
QString TrimBookText(const QString &t) { qsizetype a = 0, b = t.size(); while (a < b && (t[a] == u' ' || t[a] == u'\u3000')) ++a; while (b > a && (t[b-1] == u' ' || t[b-1] == u'\u3000')) --b; return t.mid(a, b - a); }
