#include "HeadingLists.h"

namespace {

QString Describe(const ChapterHeading &heading)
{
    QString text = heading.text.left(40);
    text.replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n"));
    return QStringLiteral("%1 \"%2\" (%3 characters)").arg(heading.position).arg(text).arg(heading.text.size());
}

} // namespace

QString DifferenceBetween(const QList<ChapterHeading> &expected, const QList<ChapterHeading> &actual)
{
    for (qsizetype i = 0; i < qMin(expected.size(), actual.size()); ++i) {
        if (expected[i].position != actual[i].position || expected[i].text != actual[i].text)
            return QStringLiteral("heading %1: expected %2, got %3")
                .arg(i)
                .arg(Describe(expected[i]), Describe(actual[i]));
    }
    if (expected.size() != actual.size())
        return QStringLiteral("expected %1 headings, got %2").arg(expected.size()).arg(actual.size());
    return QString();
}

QList<ChapterHeading> AsChapterHeadings(const QList<PlantedHeading> &planted)
{
    QList<ChapterHeading> headings;
    for (const PlantedHeading &heading : planted)
        headings.append({heading.position, heading.text});
    return headings;
}
