#pragma once
// The open book as data: its text, the encoding it was read in and its
// chapter index. The chapter list on screen only shows the index's titles;
// chapters are cut from here.
#include "core/ChapterHeadings.h"
#include "core/TextEncodingDetector.h"

#include <QList>
#include <QString>
#include <optional>

// A stretch of the book text, from start up to (not including) end.
struct TextRange {
    qsizetype start = 0;
    qsizetype end = 0;

    bool operator==(const TextRange &) const = default;
};

struct OpenBook {
    // The whole text, decoded; trimmed once the chapter index is built.
    QString BookText;
    TextEncoding encoding;
    // Item 0 is the head item (the book's first line, at position 0), then
    // every heading in book order; an item's index is its chapter number. An
    // item's text is its title exactly as it stands in the book, to the end of
    // its line; its position is where it stands (-1: unknown, found by title).
    QList<ChapterHeading> chapters;

    int ChapterCount() const { return int(chapters.size()); }

    // Trims BookText, then lists the head item and every heading found.
    void BuildChapterIndex();

    // Where chapter n runs: from its item's position up to the next item's,
    // the last chapter to the end of the text. An item without a position is
    // found at the first occurrence of its title, ignoring letter case.
    // Positions are held to the text, which may be shorter than the index
    // expects while another book loads; a chapter whose end does not lie
    // after its start is empty. nullopt when n names no item.
    std::optional<TextRange> ChapterRange(int n) const;
    // The text of ChapterRange(n); empty when n names no item.
    QString ChapterText(int n) const;

    // Removes item n, whose text then belongs to the chapter before it, and
    // returns it; nullopt (nothing removed) when n names no item.
    std::optional<ChapterHeading> RemoveChapter(int n);

    // Title of chapter n without its line end; empty when n names no item.
    QString ChapterTitle(int n) const;
    // The chapter whose title (without its line end) is `title`, the one
    // nearest to chapter `near` and the earlier one on a tie; -1 when none is.
    int FindChapter(const QString &title, int near) const;

    // The chapter before and after n, wrapping at both ends of the index.
    // Numbers outside the index are stepped all the same (the chapter before
    // -1 is -2), so that showing them does nothing.
    int ChapterBefore(int n) const;
    int ChapterAfter(int n) const;
};
