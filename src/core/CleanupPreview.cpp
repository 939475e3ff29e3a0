#include "core/CleanupPreview.h"

#include "core/TextCleaner.h"

namespace {

// More than this many places are told as "more than".
constexpr qsizetype kMostCounted = 9999;
constexpr qsizetype kPlacesShown = 3;
// Characters of a place shown, at most.
constexpr qsizetype kPlaceText = 20;

QString Cut(QStringView text)
{
    const QString line = text.left(kPlaceText).toString().replace(u'\n', u' ').remove(u'\r');
    return text.size() > kPlaceText ? line + u'…' : line;
}

} // namespace

QString CleanupPreviewLine(const CleanupRule &rule, const QString &text)
{
    if (QString problem = RuleProblem(rule); !problem.isEmpty())
        return problem;
    bool ranAway = false;
    const QList<CleanedText::Replacement> found = TextCleaner::Matches(rule, text, kMostCounted + 1, &ranAway);
    if (ranAway)
        return QStringLiteral("表达式运行过久，无法使用");
    if (found.isEmpty())
        return QStringLiteral("本书中没有要替换的地方");
    QStringList places;
    for (qsizetype i = 0; i < qMin(found.size(), kPlacesShown); ++i) {
        const CleanedText::Replacement &place = found[i];
        places.append(QStringLiteral("「%1」→「%2」")
                          .arg(Cut(QStringView(text).sliced(place.start, place.end - place.start)), Cut(place.with)));
    }
    const QString count =
        found.size() > kMostCounted ? QStringLiteral("超过 %1").arg(kMostCounted) : QString::number(found.size());
    return QStringLiteral("本书共 %1 处：%2").arg(count, places.join(QStringLiteral("；")));
}
