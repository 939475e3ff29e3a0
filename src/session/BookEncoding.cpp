#include "session/BookEncoding.h"

#include "core/BookChoices.h"
#include "core/BookStore.h"
#include "session/ReadingSession.h"

void BookEncoding::OnChooseEncoding(std::optional<TextEncoding::Kind> kind)
{
    if (!session_.HasBook())
        return;
    session_.SaveShownPlace();
    session_.Store().Update(session_.Book().RecordKey(), [&](BookRecord &record) {
        record.encoding = kind ? QString::fromLatin1(TextEncoding{*kind, 0}.Name()) : QString();
    });
    const int chapter = session_.ShownChapter();
    const QString title = session_.Book().ChapterTitle(chapter);
    session_.ReadAgain([chapter, title](const OpenBook &book) {
        return ShownPlace{qMax(0, book.FindChapter(title, chapter)), 0};
    });
}

std::optional<TextEncoding::Kind> BookEncoding::Chosen() const
{
    if (!session_.HasBook())
        return std::nullopt;
    return ChoicesOf(session_.Store().Find(session_.Book().RecordKey())).encoding;
}
