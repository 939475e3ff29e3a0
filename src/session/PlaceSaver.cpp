#include "session/PlaceSaver.h"

#include "session/ReadingSession.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"

#include <QItemSelectionModel>
#include <QScrollBar>

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
    // The selection model and the scroll bar report changes made from code
    // as well as the user's, which the controls' own signals do not.
    connect(session.ChapterList().selectionModel(), &QItemSelectionModel::currentRowChanged, &afterChapterChange_,
            qOverload<>(&QTimer::start));
    // Counted from the first scroll, so that scrolling on and on (自动滚动)
    // still saves every few seconds.
    connect(session.Pane().verticalScrollBar(), &QScrollBar::valueChanged, &afterScrolling_, [this] {
        if (!afterScrolling_.isActive())
            afterScrolling_.start();
    });
}
