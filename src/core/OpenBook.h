#pragma once
// The open book as data: its text, the encoding it was read in and its
// chapter index. The chapter list on screen only shows the index's titles;
// chapters are cut from here.
#include "core/ChapterHeadings.h"
#include "core/ChapterRules.h"
#include "core/FilePlace.h"
#include "core/ScriptConverter.h"
#include "core/TextByteMap.h"
#include "core/TextCleaner.h"
#include "core/TextEncodingDetector.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

// A stretch of the book text, from start up to (not including) end.
struct TextRange {
    qsizetype start = 0;
    qsizetype end = 0;

    bool operator==(const TextRange &) const = default;
};

// The most characters of a chapter title that are kept and shown, as many as
// a list shows of an item.
inline constexpr qsizetype kLongestTitle = 200;

struct OpenBook {
    // The folder the book was read from (ending in a separator), its file
    // name as the reader keeps it (BookFileName.h), and the file's size in
    // bytes and modification time (milliseconds since 1970, UTC) when it was
    // read.
    QString folder;
    QString fileName;
    // The key of the book's record in the book store (BookKey.h).
    QString RecordKey() const;
    qint64 fileSize = -1;
    qint64 fileModified = 0;
    // The whole text, decoded; trimmed once the chapter index is built.
    QString BookText;
    TextEncoding encoding;
    // Where BookText stands in the file, as the reading noted it; empty for
    // a text that was not read from the file as it is.
    TextByteMap textBytes;
    ChapterRule rule;
    // The script chapters are shown in; none: the book's own characters.
    std::optional<ScriptConversion> shownScript;
    // The 净化规则 the book is shown with; none while it is shown as it is.
    TextCleaner cleaner;
    // Item 0 is the head item (the book's first line, at position 0), then
    // every heading in book order, a table of contents at the start as one
    // item, 目录; an item's index is what the chapter list, the settings and
    // the store call its chapter. An item's text is its title exactly as it
    // stands in the book, to the end of its line; its position is where it
    // stands (-1: unknown, found by title). The head item and 目录 are not
    // numbered: the book's chapters, as a reader counts them, are the others.
    QList<ChapterHeading> chapters;
    // The items the reader removed from the index, in the order removed.
    QList<ChapterHeading> removedHeadings;

    int ChapterCount() const { return int(chapters.size()); }

    // Trims BookText, then lists the head item and every heading the rule
    // finds, a table of contents at the start as one item (see
    // FoldTableOfContents) unless the rule is the reader's own; no item counts
    // as removed.
    void BuildChapterIndex();
    // The same, with the default and the strict rule searching on `threads`
    // threads (see FindHeadingsOnThreads). False when `cancelled`, asked on
    // this thread only, stopped it: the text is trimmed then and the index
    // left as it was.
    bool BuildChapterIndex(int threads, const std::function<bool()> &cancelled);

    // Where chapter n runs: from its item's position up to the next item's,
    // the last chapter to the end of the text. An item without a position is
    // found at the first occurrence of its title, ignoring letter case.
    // Positions are held to the text, which may be shorter than the index
    // expects while another book loads; a chapter whose end does not lie
    // after its start is empty. nullopt when n names no item.
    std::optional<TextRange> ChapterRange(int n) const;
    // The text of ChapterRange(n); empty when n names no item.
    QString ChapterText(int n) const;
    // ChapterText(n) as shown: cleaned by `cleaner`, then in shownScript,
    // with where each shown character stands in ChapterText(n). The rules
    // that ran away on it are skipped and added to `ranAway` when given.
    CleanedText ShownChapter(int n, QList<CleanupRule> *ranAway = nullptr) const;
    QString ShownChapterText(int n) const { return ShownChapter(n).Shown(); }
    // Item n's text as the chapter list shows it: cleaned by the rules for
    // titles. Empty when n names no item.
    QString ListedTitle(int n) const;

    // Removes item n, whose text then belongs to the chapter before it, and
    // returns it; nullopt (nothing removed) when n names no item.
    std::optional<ChapterHeading> RemoveChapter(int n);
    // Removes, as RemoveChapter does, the items that stand where these
    // headings stood: the same text at the same position, else the same text
    // nearest to it. A heading that matches no item is dropped.
    void RemoveHeadings(const QList<ChapterHeading> &headings);
    // Puts every removed item back in its place in book order.
    void RestoreRemovedHeadings();
    // Where chapter n, and position `position` of its text, lie in the file;
    // nullopt when n names no item or the bytes cannot be found
    // (TextByteMap). Encodes no more than about two parts of the book.
    std::optional<FilePlace> FilePlaceOf(int n, qsizetype position) const;
    // The chapter holding text position `position`: the last item that starts
    // at or before it; -1 when there are no items.
    int ChapterAt(qsizetype position) const;

    // Title of chapter n as it is kept (the store, the settings, bookmarks,
    // sync) and shown: its text without the line end and the blanks at either
    // end, at most kLongestTitle characters of it; empty when n names no item.
    // A heading of a whole long line is cut by its position, not by this.
    QString ChapterTitle(int n) const;
    // The chapter whose title is `title` as ChapterTitle gives it (blanks at
    // either end ignored; a longer title, kept before titles were cut, by its
    // first kLongestTitle characters), the one nearest to chapter `near` and
    // the earlier one on a tie; -1 when none is.
    int FindChapter(const QString &title, int near) const;
    // Chapter `index` when its title is `title` (as FindChapter compares) or
    // no title is given; else the chapter with that title nearest to it; else
    // `index` all the same.
    int ResolveChapter(int index, const QString &title) const;

    // How many of the items are the book's numbered chapters (not the head
    // item, not 目录; a removed item is none at all).
    int NumberedChapters() const;
    // The number of item n among them, from 1; 0 when it is not numbered or n
    // names no item.
    int ChapterNumberOf(int n) const;
    // The item whose number is `number`; -1 outside 1..NumberedChapters().
    int ChapterWithNumber(int number) const;

    // The chapter before and after n, wrapping at both ends of the index.
    // Numbers outside the index are stepped all the same (the chapter before
    // -1 is -2), so that showing them does nothing.
    int ChapterBefore(int n) const;
    int ChapterAfter(int n) const;
};
