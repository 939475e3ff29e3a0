#include "reader/ChapterNavigation.h"

#include "core/OpenBook.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/VirtualKey.h"

#include <QStringList>

namespace {

// Chapter n into the pane and selected in the list; false when there is no
// such chapter to show.
bool PutChapter(const OpenBook &book, ListBox &chapterList, EditBox &pane, int n)
{
    if (book.BookText.isEmpty() || !book.ChapterRange(n))
        return false;
    pane.SetText(book.ShownChapterText(n));
    chapterList.SetSelection(n);
    return true;
}

} // namespace

void ShowChapter(const OpenBook &book, ListBox &chapterList, EditBox &pane, int n)
{
    PutChapter(book, chapterList, pane, n);
}

void ShowIndex(const OpenBook &book, ListBox &chapterList, EditBox &pane, int n)
{
    QStringList titles;
    titles.reserve(book.chapters.size());
    for (const ChapterHeading &item : book.chapters)
        titles.append(item.text);
    chapterList.SetItems(titles);
    const int shown = book.ChapterRange(n) ? n : 0;
    chapterList.SetSelection(shown);
    // An empty book has nothing to show, and the previous book must not stay.
    if (book.BookText.isEmpty())
        pane.SetText(QString());
    ShowChapter(book, chapterList, pane, shown);
}

void OnChapterSelected(const OpenBook &book, ListBox &chapterList, EditBox &pane)
{
    ShowChapter(book, chapterList, pane, chapterList.Selection());
}

void OnContentKeyUp(const OpenBook &book, ListBox &chapterList, EditBox &pane, int virtualKey, int)
{
    const int current = chapterList.Selection();
    if (virtualKey == VK_LEFT)
        ShowChapter(book, chapterList, pane, book.ChapterBefore(current));
    else if (virtualKey == VK_RIGHT)
        ShowChapter(book, chapterList, pane, book.ChapterAfter(current));
}

void OnContentPagedPast(const OpenBook &book, ListBox &chapterList, EditBox &pane, int direction)
{
    const int next = chapterList.Selection() + direction;
    if (next < 0 || next >= book.ChapterCount() || !PutChapter(book, chapterList, pane, next))
        return;
    // Paging back reads on backwards: the chapter before ends where it was left.
    if (direction < 0)
        pane.ScrollToEnd();
}

void OnChapterListKeyUp(OpenBook &book, ListBox &chapterList, int virtualKey, int)
{
    const int selected = chapterList.Selection();
    if (virtualKey != VK_DELETE || !book.RemoveChapter(selected))
        return;
    chapterList.DeleteItem(selected);
    // The chapter before now runs on through the removed heading's text, which
    // is what the pane shows: select it, and the next step goes on from there.
    chapterList.SetSelection(selected - 1);
}

void OnRestoreRemovedHeadings(OpenBook &book, ListBox &chapterList, EditBox &pane)
{
    if (book.removedHeadings.isEmpty())
        return;
    const std::optional<TextRange> shown = book.ChapterRange(chapterList.Selection());
    book.RestoreRemovedHeadings();
    ShowIndex(book, chapterList, pane, shown ? book.ChapterAt(shown->start) : 0);
}
