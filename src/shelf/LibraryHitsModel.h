#pragma once
// The results of a search across the library as a list model: for each book
// with occurrences (or that could not be read) a row with its name, then a
// row per occurrence listed with its chapter's title and the text around it.
// Rows are only ever added, a book at a time, until the list is cleared.
#include "core/BookHits.h"
#include "core/TextListModel.h"

#include <optional>

// Occurrences listed over all books; the rest are only counted.
inline constexpr qsizetype kListedLibraryHits = 10000;

// A book of the library searched: where it is and what was found in it.
struct SearchedBook {
    QString folder;
    QString fileName;
    // False: the file could not be read; nothing was looked for.
    bool readable = false;
    BookHits hits;
};

// Where an occurrence stands: the book's path, the chapter and where in the
// chapter's text, and how long it is.
struct LibraryPlace {
    QString path;
    int chapter = 0;
    qsizetype position = 0;
    qsizetype length = 0;

    bool operator==(const LibraryPlace &) const = default;
};

class LibraryHitsModel : public TextListModel {
    Q_OBJECT
public:
    using TextListModel::TextListModel;

    // Empties the list.
    void Clear();
    // Adds the book's rows after the others: nothing for a readable book
    // without occurrences, its name and "无法读取" for an unreadable one,
    // else its name and its occurrences, as many as the kListedLibraryHits
    // for all books still leave.
    void AddBook(const SearchedBook &book);
    // The occurrence a row lists; nullopt for a book's row or a row that is
    // none.
    std::optional<LibraryPlace> PlaceAt(int row) const;
    // Occurrences found in all books added, listed or not.
    qsizetype Found() const { return found_; }
    // Whether an occurrence was left out because the list held
    // kListedLibraryHits already.
    bool IsCut() const { return cut_; }

private:
    QList<std::optional<LibraryPlace>> places_;
    qsizetype found_ = 0;
    qsizetype listed_ = 0;
    bool cut_ = false;
};
