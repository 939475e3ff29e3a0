#include "session/ChapterListModel.h"

#include "core/OpenBook.h"

void ChapterListModel::ShowIndexOf(const OpenBook &book)
{
    QStringList titles;
    titles.reserve(book.chapters.size());
    for (const ChapterHeading &item : book.chapters)
        titles.append(item.text);
    SetTexts(titles);
}
