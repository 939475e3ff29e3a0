#include "app/PlaceSaver.h"

#include "app/BookPlaces.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/ReaderControls.h"

#include <QItemSelectionModel>
#include <QScrollBar>

namespace {

constexpr int kAfterChapterChangeMs = 500;
constexpr int kAfterScrollingMs = 2000;

} // namespace

PlaceSaver::PlaceSaver(ReaderState &state, const ReaderControls &controls, QObject *parent)
    : QObject(parent), state_(state), controls_(controls)
{
    for (QTimer *timer : {&afterChapterChange_, &afterScrolling_}) {
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, &PlaceSaver::Save);
    }
    afterChapterChange_.setInterval(kAfterChapterChangeMs);
    afterScrolling_.setInterval(kAfterScrollingMs);
    // The selection model and the scroll bar report changes made from code
    // as well as the user's, which the controls' own signals do not.
    connect(controls.列表框_章节->selectionModel(), &QItemSelectionModel::currentRowChanged, &afterChapterChange_,
            qOverload<>(&QTimer::start));
    connect(controls.编辑框_内容->verticalScrollBar(), &QScrollBar::valueChanged, &afterScrolling_,
            qOverload<>(&QTimer::start));
}

void PlaceSaver::Save()
{
    SaveShownPlace(state_, controls_);
}
