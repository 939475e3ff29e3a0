#pragma once
// Finding a term everywhere in the open book: the find window lists every
// occurrence with its chapter and the text around it; picking one, or F3 and
// Shift+F3, shows it in its chapter, selected.
#include "core/BookSearch.h"

struct OpenBook;
class EditBox;
class ListBox;
class ListWindow;

// The last search, kept until another book opens.
struct FindState {
    QList<SearchHit> hits;
    // The hit last shown; -1 before any.
    qsizetype shown = -1;
};

// Occurrences listed in the find window; the rest are counted.
inline constexpr qsizetype kListedHits = 10000;

// "查找…": shows the find window with the keys in its field.
void OnFind(ListWindow &findWindow);
// A term entered in the find window: searches the whole book and lists the
// occurrences. An empty term does nothing.
void OnSearch(const OpenBook &book, FindState &find, ListWindow &findWindow, const QString &term);
// An occurrence picked in the list: its chapter shown, the occurrence
// selected in the pane and brought into view.
void OnHitPicked(const OpenBook &book, FindState &find, ListBox &chapterList, EditBox &pane, int index);
// "查找下一个" (direction 1) and "查找上一个" (-1): the occurrence after or before
// the one last shown, across chapters, wrapping at the ends of the book.
// Without a search yet, the find window opens.
void OnFindAgain(const OpenBook &book, FindState &find, ListWindow &findWindow, ListBox &chapterList, EditBox &pane,
                 int direction);
// Another book has opened: the results belong to the one before.
void ClearFind(FindState &find, ListWindow &findWindow);
