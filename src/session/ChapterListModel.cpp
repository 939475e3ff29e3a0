#include "session/ChapterListModel.h"

#include "core/OpenBook.h"

static_assert(kLongestTitle == TextListModel::kLongestShownText, "a list shows as much of a title as is kept");

void ChapterListModel::ShowIndexOf(const OpenBook &book)
{
    QStringList titles;
    titles.reserve(book.chapters.size());
    for (int n = 0; n < book.ChapterCount(); ++n)
        titles.append(ShownListText(book.ListedTitle(n)));
    SetTexts(titles);
}
