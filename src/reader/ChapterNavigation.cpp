#include "ChapterNavigation.h"

#include "EditBox.h"
#include "ListBox.h"
#include "ProcessPendingEvents.h"
#include "ReaderControls.h"
#include "VirtualKey.h"

namespace {

// Where chapter `index` begins: the position found when the book was indexed,
// or, for an item that has none, the first occurrence of its title. Clamped
// to the text, which may be shorter while another book is loading.
qsizetype ChapterStart(const QString &bookText, const ListBox &chapters, int index)
{
    qsizetype position = chapters.ItemPosition(index);
    if (position < 0)
        position = bookText.indexOf(chapters.ItemText(index), 0, Qt::CaseInsensitive);
    return qBound<qsizetype>(0, position, bookText.size());
}

} // namespace

void ShowChapter(const QString &bookText, const ReaderControls &controls, int n)
{
    ListBox &chapters = *controls.列表框_章节;
    if (bookText.isEmpty() || n < 0 || n >= chapters.Count())
        return;
    const qsizetype start = ChapterStart(bookText, chapters, n);
    const qsizetype end = n == chapters.Count() - 1 ? bookText.size() : ChapterStart(bookText, chapters, n + 1);
    controls.编辑框_内容->SetText(end > start ? bookText.mid(start, end - start) : QString());
    chapters.SetSelection(n);
    ProcessPendingEvents();
}

void OnChapterSelected(const QString &bookText, const ReaderControls &controls)
{
    ShowChapter(bookText, controls, controls.列表框_章节->Selection());
}

void OnContentKeyUp(const QString &bookText, const ReaderControls &controls, int virtualKey, int)
{
    const int current = controls.列表框_章节->Selection();
    const int last = controls.列表框_章节->Count() - 1;
    if (virtualKey == VK_LEFT)
        ShowChapter(bookText, controls, current == 0 ? last : current - 1);
    else if (virtualKey == VK_RIGHT)
        ShowChapter(bookText, controls, current == last ? 0 : current + 1);
}

void OnChapterListKeyUp(const ReaderControls &controls, int virtualKey, int)
{
    const int selected = controls.列表框_章节->Selection();
    if (virtualKey == VK_DELETE && selected >= 0)
        controls.列表框_章节->DeleteItem(selected);
}
