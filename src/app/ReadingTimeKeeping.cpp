#include "app/ReadingTimeKeeping.h"

#include "core/BookStore.h"
#include "core/Preferences.h"
#include "session/ReadingSession.h"
#include "sync/DeviceList.h"
#include "ui/EditBox.h"

#include <QDateTime>
#include <QTimeZone>

ReadingTimeKeeping::ReadingTimeKeeping(ReadingSession &session, EditBox &pane, BookStore &store,
                                       const Preferences &preferences, QObject *parent)
    : QObject(parent), session_(session), pane_(pane), store_(store), preferences_(preferences)
{
    write_.setSingleShot(true);
    write_.setInterval(kWriteEveryMs);
    connect(&write_, &QTimer::timeout, this, &ReadingTimeKeeping::WriteCounted);
    running_.setInterval(kRunningTickMs);
    connect(&running_, &QTimer::timeout, this, &ReadingTimeKeeping::OnActivity);
    for (const auto act :
         {&EditBox::userPressedKey, &EditBox::userClicked, &EditBox::userTurnedWheel, &EditBox::userMovedScrollBar})
        connect(&pane, act, this, &ReadingTimeKeeping::OnActivity);
    connect(&pane, &EditBox::hidden, this, &ReadingTimeKeeping::OnStop);
    connect(&session, &ReadingSession::bookShown, this, &ReadingTimeKeeping::OnBookShown);
    connect(&session.Scrolling(), &AutoScroll::runningChanged, this, &ReadingTimeKeeping::FollowRunning);
    connect(&session.Aloud(), &ReadAloud::stateChanged, this, &ReadingTimeKeeping::FollowRunning);
}

ReadingTimeKeeping::~ReadingTimeKeeping()
{
    OnStop();
}

double ReadingTimeKeeping::Speed()
{
    return ReadingSpeed(Rows());
}

// The rows counted keep their places (MergedReadingTime puts ours first), so
// the ones not yet written stay known.
void ReadingTimeKeeping::TakeStoredRows()
{
    if (rows_)
        rows_ = MergedReadingTime(*rows_, store_.ReadingTime());
}

// Auto-scroll and read-aloud tick on behind a hidden or minimised window;
// its hiding stopped the clock, and that is no reading to start it again.
void ReadingTimeKeeping::OnActivity()
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (!book_.isEmpty() && PaneInSight())
        Count(clock_.Activity(now, session_.TopPositionInBook()), now);
}

void ReadingTimeKeeping::OnStop()
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (!book_.isEmpty())
        Count(clock_.Stop(now), now);
    WriteCounted();
}

// The book read until now stops; the one shown starts, the showing being
// the reader's act.
void ReadingTimeKeeping::OnBookShown()
{
    const QString shown = session_.Book().RecordKey();
    if (shown != book_)
        OnStop();
    book_ = shown;
    OnActivity();
}

void ReadingTimeKeeping::FollowRunning()
{
    const bool running =
        session_.Scrolling().IsRunning() || session_.Aloud().CurrentState() == ReadAloud::State::Reading;
    if (running && !running_.isActive()) {
        OnActivity();
        running_.start();
    } else if (!running) {
        running_.stop();
    }
}

void ReadingTimeKeeping::Count(const ReadStretch &read, qint64 now)
{
    const QList<DayStretch> parts = StretchByDay(read, now, QTimeZone::systemTimeZone());
    for (const DayStretch &part : parts)
        AddToRow(part);
    if (!parts.isEmpty() && !write_.isActive())
        write_.start();
}

void ReadingTimeKeeping::AddToRow(const DayStretch &part)
{
    const QString device = DeviceIdFor(preferences_.Path());
    QList<ReadingTimeRow> &rows = Rows();
    const auto found = std::find_if(rows.begin(), rows.end(), [&](const ReadingTimeRow &row) {
        return row.book == book_ && row.day == part.day && row.device == device;
    });
    const qsizetype at = found - rows.begin();
    if (found == rows.end())
        rows.append({book_, part.day, device, 0, 0});
    rows[at].ms += part.read.ms;
    rows[at].characters += part.read.characters;
    unwritten_.insert(at);
}

void ReadingTimeKeeping::WriteCounted()
{
    write_.stop();
    for (const qsizetype at : std::as_const(unwritten_))
        store_.PutReadingTime(Rows().at(at));
    unwritten_.clear();
}

bool ReadingTimeKeeping::PaneInSight() const
{
    // A minimised window's widgets stay visible to Qt.
    return pane_.isVisible() && !pane_.window()->isMinimized();
}

QList<ReadingTimeRow> &ReadingTimeKeeping::Rows()
{
    if (!rows_)
        rows_ = store_.ReadingTime();
    return *rows_;
}
