#include "session/JumpHistory.h"

#include "session/ReadingSession.h"

#include <QFileInfo>

namespace {

void Keep(QList<JumpPlace> &places, const JumpPlace &place)
{
    if (!places.isEmpty() && places.last() == place)
        return;
    places.append(place);
    if (places.size() > JumpHistory::kKept)
        places.removeFirst();
}

} // namespace

JumpHistory::JumpHistory(ReadingSession &session) : session_(session) {}

std::optional<JumpPlace> JumpHistory::Here() const
{
    const OpenBook &book = session_.Book();
    if (!session_.HasBook())
        return std::nullopt;
    return JumpPlace{QFileInfo(book.folder + book.fileName).absoluteFilePath(), session_.ShownChapter(),
                     session_.TopPosition()};
}

void JumpHistory::NoteJumpFromHere()
{
    const std::optional<JumpPlace> here = Here();
    if (!here)
        return;
    Keep(back_, *here);
    forward_.clear();
    Q_EMIT changed();
}

void JumpHistory::GoBack()
{
    Go(back_, forward_);
}

void JumpHistory::GoForward()
{
    Go(forward_, back_);
}

void JumpHistory::Go(QList<JumpPlace> &from, QList<JumpPlace> &keep)
{
    if (from.isEmpty())
        return;
    if (const std::optional<JumpPlace> here = Here())
        Keep(keep, *here);
    GoTo(from.takeLast());
    Q_EMIT changed();
}

void JumpHistory::GoTo(const JumpPlace &place)
{
    session_.GoToPlace(place.path, ShownPlace{place.chapter, 0, place.position});
}
