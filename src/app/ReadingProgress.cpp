#include "app/ReadingProgress.h"

#include "app/ReadingTimeKeeping.h"
#include "core/BookProgress.h"
#include "core/ReadingTime.h"
#include "session/ReadingSession.h"
#include "ui/MessageStrip.h"
#include "ui/ReadingStatsWindow.h"

QString ProgressText(int number, int chapters, int progress)
{
    QString share = PercentText(progress) + QLatin1Char('%');
    if (chapters < 1)
        return share;
    if (number < 1)
        return QStringLiteral("共 %1 章    %2").arg(QString::number(chapters), share);
    return QStringLiteral("第 %1 / %2 章    %3").arg(QString::number(number), QString::number(chapters), share);
}

QString ChapterTimeLeftText(qsizetype characters, double speed)
{
    const qint64 minutes = MinutesToRead(characters, speed);
    return minutes > 0 ? QStringLiteral("本章约剩 %1 分钟").arg(minutes) : QString();
}

QString BookTimeLeftText(qsizetype characters, double speed)
{
    return QStringLiteral("全书约剩 ") + DurationText(MinutesToRead(characters, speed) * 60'000);
}

ReadingProgress::ReadingProgress(ReadingSession &session, MessageStrip &strip, ReadingTimeKeeping &timeKeeping,
                                 QObject *parent)
    : QObject(parent), session_(session), strip_(strip), timeKeeping_(timeKeeping)
{
    soon_.setSingleShot(true);
    soon_.setInterval(0);
    connect(&soon_, &QTimer::timeout, this, &ReadingProgress::Update);
    const auto update = qOverload<>(&QTimer::start);
    connect(&session, &ReadingSession::bookShown, &soon_, update);
    connect(&session, &ReadingSession::shownChapterChanged, &soon_, update);
    connect(&session, &ReadingSession::topLineMoved, &soon_, update);
}

// A preview knows its chapter only: the strip stays as it is until the book
// is there.
void ReadingProgress::Update()
{
    if (session_.IsPreviewing())
        return;
    const OpenBook &book = session_.Book();
    const int chapter = session_.ShownChapter();
    const std::optional<TextRange> range = book.ChapterRange(chapter);
    if (!session_.HasBook() || !range) {
        strip_.setToolTip(QString());
        return strip_.SetStandingText(QString());
    }
    const qsizetype position = session_.TopPositionInBook();
    const double speed = timeKeeping_.Speed();
    const QString left = ChapterTimeLeftText(range->end - position, speed);
    strip_.SetStandingText(ProgressText(book.ChapterNumberOf(chapter), book.NumberedChapters(), session_.Progress())
                           + (left.isEmpty() ? QString() : QStringLiteral("    ") + left));
    strip_.setToolTip(BookTimeLeftText(book.BookText.size() - position, speed));
}
