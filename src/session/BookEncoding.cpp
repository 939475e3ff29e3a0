#include "session/BookEncoding.h"

#include "core/BookChoices.h"
#include "core/BookStore.h"
#include "session/ReadingSession.h"

void OnChooseEncoding(ReadingSession &session, std::optional<TextEncoding::Kind> kind)
{
    if (!session.HasBook())
        return;
    session.SaveShownPlace();
    session.Store().Update(session.Book().fileName, [&](BookRecord &record) {
        record.encoding = kind ? QString::fromLatin1(TextEncoding{*kind, 0}.Name()) : QString();
    });
    const int chapter = session.ShownChapter();
    const QString title = session.Book().ChapterTitle(chapter);
    session.ReadAgain([chapter, title](const OpenBook &book) {
        return ShownPlace{qMax(0, book.FindChapter(title, chapter)), 0};
    });
}

std::optional<TextEncoding::Kind> ChosenEncodingOfOpenBook(const ReadingSession &session)
{
    if (!session.HasBook())
        return std::nullopt;
    return ChoicesOf(session.Store().Find(session.Book().fileName)).encoding;
}
