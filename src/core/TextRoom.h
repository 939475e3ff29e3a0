#pragma once
// Room for a large text that is about to be written from start to end.
#include <QString>

// Gives `text` room for `units` UTF-16 units. Where the system has huge
// pages the room is asked to take them: filling a book's text then costs a
// page fault every 2 MB rather than every 4 KB, which on a virtual machine
// is a good part of what writing the text costs. Pages the text never
// reaches stay out of memory either way (to within one huge page).
void ReserveTextRoom(QString &text, qsizetype units);
