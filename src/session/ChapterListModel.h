#pragma once
// The chapter list (列表框_章节) as a model: one row per item of the open
// book's chapter index (the head item, then every heading in book order), its
// title as it stands in the book, line end included, and a title longer than
// the list shows held only as far as it is shown. Rebuilt only when the book
// or its rule changes; a title removed with Delete leaves its row.
#include "core/TextListModel.h"

struct OpenBook;

class ChapterListModel : public TextListModel {
public:
    using TextListModel::TextListModel;

    // The book's items, in one reset.
    void ShowIndexOf(const OpenBook &book);
    // The item at `row` was removed from the book's index.
    void RemoveTitle(int row) { RemoveText(row); }
};
