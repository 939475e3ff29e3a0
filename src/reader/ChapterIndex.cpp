#include "reader/ChapterIndex.h"

#include "core/OpenBook.h"
#include "reader/ChapterNavigation.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/NotifyLabel.h"

#include <QStringList>

void OnLoadProgress(OpenBook &book, NotifyLabel &statusLabel, ListBox &chapterList, EditBox &pane, int percentage, int)
{
    statusLabel.SetCaption(QStringLiteral("已载入%1%").arg(percentage));
    if (percentage != 100)
        return;
    statusLabel.SetCaption(QStringLiteral("载入完成"));
    book.BuildChapterIndex();
    FillChapterList(book, chapterList);
    chapterList.SetSelection(0);
    // An empty book has nothing to show, and the previous book must not stay.
    if (book.BookText.isEmpty())
        pane.SetText(QString());
    ShowChapter(book, chapterList, pane, 0);
}

void FillChapterList(const OpenBook &book, ListBox &chapterList)
{
    QStringList titles;
    titles.reserve(book.chapters.size());
    for (const ChapterHeading &item : book.chapters)
        titles.append(item.text);
    chapterList.SetItems(titles);
}
