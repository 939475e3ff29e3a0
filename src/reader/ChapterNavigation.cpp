#include "reader/ChapterNavigation.h"

#include "core/OpenBook.h"
#include "reader/ChapterIndex.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/ProcessPendingEvents.h"
#include "ui/VirtualKey.h"

void ShowChapter(const OpenBook &book, ListBox &chapterList, EditBox &pane, int n)
{
    if (book.BookText.isEmpty() || !book.ChapterRange(n))
        return;
    pane.SetText(book.ChapterText(n));
    chapterList.SetSelection(n);
    ProcessPendingEvents();
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
    FillChapterList(book, chapterList);
    if (shown)
        ShowChapter(book, chapterList, pane, book.ChapterAt(shown->start));
}
