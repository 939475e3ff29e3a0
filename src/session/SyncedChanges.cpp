#include "session/SyncedChanges.h"

#include "core/BookStore.h"
#include "session/Log.h"
#include "session/ReadingSession.h"

namespace {

bool ChoicesDiffer(const BookRecord &a, const BookRecord &b)
{
    return a.encoding != b.encoding || a.chapterRule != b.chapterRule || a.removedHeadings != b.removedHeadings
        || a.removedUnderRule != b.removedUnderRule || a.script != b.script;
}

} // namespace

bool OnRecordSynced(ReadingSession &session, const QString &name, const BookRecord &before)
{
    if (!session.HasBook() || session.Book().fileName != name)
        return false;
    const BookRecord merged = session.Store().Find(name).value_or(BookRecord{});
    const bool follow = merged.changes.place != before.changes.place && !session.MovedSinceShown();
    if (!follow)
        session.SaveShownPlace();
    if (ChoicesDiffer(merged, before)) {
        qCInfo(lcSession) << "reading" << name << "again with another computer's choices";
        session.ReadAgain(session.OwnPlace());
        return follow;
    }
    if (follow) {
        qCInfo(lcSession) << "following another computer to its place in" << name;
        session.ShowPlace(PlaceIn(session.Book(), merged));
    }
    return follow;
}
