#include "session/PlaceSaver.h"

#include "session/ReadingSession.h"

namespace {

constexpr int kAfterChapterChangeMs = 500;
constexpr int kAfterScrollingMs = 2000;

} // namespace

PlaceSaver::PlaceSaver(ReadingSession &session)
{
    for (QTimer *timer : {&afterChapterChange_, &afterScrolling_}) {
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, &session, &ReadingSession::SaveShownPlace);
    }
    afterChapterChange_.setInterval(kAfterChapterChangeMs);
    afterScrolling_.setInterval(kAfterScrollingMs);
    connect(&session, &ReadingSession::shownChapterChanged, &afterChapterChange_, qOverload<>(&QTimer::start));
    // Counted from the first move, so that scrolling on and on (自动滚动)
    // still saves every few seconds.
    connect(&session, &ReadingSession::topLineMoved, &afterScrolling_, [this] {
        if (!afterScrolling_.isActive())
            afterScrolling_.start();
    });
}
