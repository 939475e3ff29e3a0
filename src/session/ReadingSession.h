#pragma once
// The reading session: the open book, the chapter shown and the place in it,
// the chapter list model, and saving where the reader is. It opens books
// through the shelf and shows each one once, at its place, when the shelf
// hands it over; until then the book before stays whole on screen.
//
// The views follow it: the pane (编辑框_内容) shows what textShown gives and
// scrolls when asked, the chapter list (列表框_章节) selects the chapter
// shownChapterChanged names. They report the user's acts to its handlers,
// and the pane reports every move of its first visible line (OnTopLineMoved),
// which is how the session knows the place; nothing is read back from them.
#include "core/BookProgress.h"
#include "core/BookRecord.h"
#include "core/OpenBook.h"
#include "session/AutoScroll.h"
#include "session/BookEncoding.h"
#include "session/Bookmarks.h"
#include "session/ChapterEditing.h"
#include "session/ChapterListModel.h"
#include "session/ChapterRuleChoice.h"
#include "session/FindInBook.h"
#include "session/Highlights.h"
#include "session/JumpHistory.h"
#include "session/PlaceInSettings.h"
#include "session/PlaceSaver.h"
#include "session/ReadAloud.h"
#include "session/TextCleanup.h"

#include <QObject>
#include <functional>
#include <memory>

class BookStore;
class Preferences;
class Shelf;
class SpeechEngine;
struct BookRequest;

// Where a book is shown once it is handed over: a chapter, and the pane
// scrolled that many lines down, or, when a position is given, to the line
// that holds that position of the chapter's text, with `selected` characters
// from there selected (a place found).
struct ShownPlace {
    int chapter = 0;
    int line = 0;
    qsizetype position = -1;
    qsizetype selected = 0;
};
// Finds that place in the book just handed over.
using PlaceFinder = std::function<ShownPlace(const OpenBook &book)>;
// The place a book's record remembers: its chapter, found by title when the
// number names another, and its position there (else its line).
ShownPlace PlaceIn(const OpenBook &book, const BookRecord &record);

class ReadingSession : public QObject {
    Q_OBJECT
public:
    // The speech engine is 朗读's; it starts only when first asked for.
    ReadingSession(BookStore &store, Shelf &shelf, Preferences &preferences, std::unique_ptr<SpeechEngine> speech,
                   QObject *parent = nullptr);
    ~ReadingSession() override;

    const OpenBook &Book() const { return book_; }
    bool HasBook() const { return !book_.fileName.isEmpty(); }
    BookStore &Store() const { return store_; }
    Shelf &BookShelf() const { return shelf_; }
    Preferences &Prefs() const { return preferences_; }
    ChapterListModel &Chapters() { return chapters_; }
    AutoScroll &Scrolling() { return autoScroll_; }
    const AutoScroll &Scrolling() const { return autoScroll_; }
    ReadAloud &Aloud() { return readAloud_; }
    const ReadAloud &Aloud() const { return readAloud_; }
    Bookmarks &Marks() { return bookmarks_; }
    Highlights &Highlighted() { return highlights_; }
    FindInBook &Find() { return find_; }
    BookEncoding &Encoding() { return encoding_; }
    ChapterRuleChoice &RuleChoice() { return ruleChoice_; }
    PlaceInSettings &SettingsPlace() { return placeInSettings_; }
    JumpHistory &Jumps() { return jumps_; }
    TextCleanup &Cleanup() { return cleanup_; }
    ChapterEditing &Editing() { return editing_; }

    // The chapter shown, -1 for none.
    int ShownChapter() const { return shownChapter_; }
    // The text the pane shows (the chapter cleaned and in its script, or a
    // notice).
    const QString &ShownText() const { return shown_.Shown(); }
    // Where a position of the chapter's own text stands in the shown text.
    qsizetype ShownPosition(qsizetype position) const { return shown_.ShownPosition(position); }
    // And where a position of the shown text stands in the chapter's own.
    qsizetype OwnPosition(qsizetype shownPosition) const { return shown_.TextPosition(shownPosition); }
    // The pane's first visible display line, and where it starts in the
    // chapter's own text (whatever rules clean what is shown), as the pane
    // last reported them.
    int TopLine() const { return topLine_; }
    qsizetype TopPosition() const { return topPosition_; }
    // Where that line starts in the book's whole text; 0 with no chapter
    // shown.
    qsizetype TopPositionInBook() const;
    // How far into the book's text that line lies (BookProgress.h).
    int Progress() const { return ProgressAt(TopPositionInBook(), book_.BookText.size()); }

    // Shows chapter n of the open book from its top and selects it in the
    // chapter list. With no book text, or a number outside the index, nothing
    // changes.
    void ShowChapter(int n);
    // The pane shows `text` itself, as the reader edits it: the positions it
    // reports are taken as they are until another text is shown.
    void OnPaneEditing(const QString &text) { shown_ = CleanedText(text); }
    // Shows a text that is no book (the first-start guide, a missing
    // folder), or nothing; the chapter list stays as it is.
    void ShowNotice(const QString &text);
    // Scrolls the pane so that the line holding `position` of the chapter's
    // own text is on top.
    void ScrollTo(qsizetype position);
    // Selects what the pane shows of `length` characters from `position` of
    // the chapter's own text.
    void SelectText(qsizetype position, qsizetype length);

    // Opens the book at that row of the book list, to be shown at `place`.
    // With `preview` (for `place` the one the book's record remembers), the
    // chapter of that place is shown from its own bytes while the book is
    // read, when they are still that chapter's (ChapterPreview.h); the book
    // then takes its place without a change on screen. Returns whether its
    // load began.
    bool OpenBookAt(int row, PlaceFinder place, bool preview = false);
    // Whether a preview is on screen and its book not yet handed over. Its
    // place is not saved meanwhile, and the acts that need the whole book
    // (chapter steps, the chapter list, going to a place or a chapter, cutting
    // the book anew, find, bookmarks) wait for it and are done then, once.
    bool IsPreviewing() const { return previewing_; }
    // While a preview is shown, `act` waits for the book and is queued
    // (true); else nothing happens (false).
    bool DeferredForBook(std::function<void()> act);
    // A user's choice in the book list: the place in the book on screen is
    // saved and the chosen book opens where the reader stopped in it (a book
    // never read: chapter 0).
    void OnBookSelected(int row);
    // A book file opened from outside the book list (the command line,
    // another start, a drop, 最近阅读), given as an absolute path: the place
    // in the book on screen is saved and the book opens as a book of its
    // folder, which becomes the book folder, where the reader stopped in it.
    // Returns whether its load began.
    bool OnOpenBookFile(const QString &path);
    // Opens the book file at `path` as OnOpenBookFile does, to be shown at
    // `place` instead of where the reader stopped in it.
    bool OpenBookFileAt(const QString &path, const ShownPlace &place);
    // Shows `place` (a position given) of the book file at `path`: at once
    // when it is the book on screen, else once it is opened as
    // OpenBookFileAt opens it. Returns whether it was shown or its load began.
    bool GoToPlace(const QString &path, const ShownPlace &place);
    // 跳转到章节: shows chapter n from its top, a jump 返回 goes back from.
    void JumpToChapter(int n);
    // A folder chosen or given from outside: saves the place in the book on
    // screen and lists that folder as the book folder.
    void OnOpenFolder(const QString &folder);
    // The place the open book's record remembers, chapter 0 without one.
    PlaceFinder OwnPlace() const;
    // The open book read again from its file, or only cut into chapters
    // again, with the choices its record now holds, and shown at `place`.
    void ReadAgain(PlaceFinder place);
    void CutAgain(PlaceFinder place);

    // The views' reports. The chapter list's selection by the user; keys
    // released in the pane (left and right arrows step through the chapters,
    // wrapping at both ends; with Alt they are 返回 and 前进's); paging past the pane's text (Space or Page
    // Down at the end of a chapter, 1, shows the next from its top; Page Up
    // or Shift+Space at its top, -1, the previous with its last page in
    // view; nothing wraps); keys released in the chapter list (Delete
    // removes the selected title and selects the chapter before, which now
    // holds the removed one's text, without showing it again).
    void OnChapterSelected(int row);
    void OnContentKeyUp(int virtualKey, int modifiers);
    void OnContentPagedPast(int direction);
    void OnChapterListKeyUp(int virtualKey, int modifiers);
    // The pane's first visible display line moved (or the pane was given a
    // text, or set it anew): its number, and where it starts in the text.
    void OnTopLineMoved(int line, qsizetype position);
    // "恢复删除的标题": puts the book's removed titles back and shows again
    // the chapter that starts where the shown one did.
    void OnRestoreRemovedHeadings();

    // 简体 / 繁体 / 原文 with a book open: its chapters are shown in that
    // script (none: its own characters) from the one on screen on, at the
    // same line, and the book keeps the choice. Without a book the notice
    // shown is converted once.
    void OnChooseScript(std::optional<ScriptConversion> script);
    // The 净化规则 or 显示原文 changed: the open book is shown with what
    // Cleanup() now gives it, from the chapter titles to the line on top.
    void CleanAnew();
    // Saves the place in the book on screen to the store when it differs
    // from the one stored, as moved by the user when the user last moved
    // (MovedAt), or as no move when the user has not moved since the book
    // was shown. Does nothing without a book or once saving has stopped.
    void SaveShownPlace();
    // Saves the place on screen as SaveShownPlace does, but as no move of the
    // user's (BookStore::PutUnmarked): the place a record gave, as measured
    // on this screen.
    void SettleShownPlace();
    // The place on screen: the chapter shown, its first visible line and
    // where that line starts.
    ShownPlace PlaceOnScreen() const;
    // When the user last moved to another chapter or paragraph since the
    // book was shown (or ShowPlace showed a place), milliseconds since 1970;
    // nullopt when the user has not moved since. A book shown, a place
    // followed, another script and the lines wrapped anew are no moves.
    std::optional<qint64> MovedAt() const { return movedAt_; }
    // Shows the open book at `place`, which becomes its place as shown and,
    // unmarked, as stored; the user has not moved since.
    void ShowPlace(const ShownPlace &place);
    // Another computer's changes were merged into the record of `name`,
    // which was `before`. A changed encoding, chapter rule, removed headings
    // or script reads the open book again; a newer place is followed unless
    // the user has moved here since it was made, in which case the user's
    // place is saved as the newer change. Returns whether the reader moved
    // to the other computer's place.
    bool OnRecordSynced(const QString &name, const BookRecord &before);
    // The window is closing: the place is saved a last time and loads stop.
    void Close();

Q_SIGNALS:
    // The pane is to show this text from its top.
    void textShown(const QString &text);
    // The chapter shown changed (-1: none); the chapter list selects it.
    void shownChapterChanged(int chapter);
    // The pane is to scroll: the line holding `position` of its text on top,
    // `lines` display lines down from where it is, or to its last page.
    void scrollRequested(qsizetype position);
    void scrollLinesRequested(int lines);
    void scrollToEndRequested();
    // The pane is to select that stretch of its text and bring it into view.
    void selectionRequested(qsizetype position, qsizetype length);
    // The first visible line moved.
    void topLineMoved();
    // A book was handed over and is on screen at its place; it heads the
    // store's list of books read last.
    void bookShown();
    // The newest opening failed; the book on screen stays.
    void openFailed();
    // The chapter on screen was shown anew in another script.
    void scriptChanged();

private:
    BookRequest RequestFor(const QString &folder, const QString &fileName, const OpenBook *reindex);
    void OnBookPreviewed(const OpenBook &preview);
    void OnBookOpened(const OpenBook &book);
    // The book takes the place of its preview when the pane shows what it
    // would show; false (nothing done) when it does not.
    bool TakeOverPreview(int chapter);
    // Puts the book's index into the chapter list and shows chapter n, or
    // chapter 0 when n names no chapter; an empty book empties the pane.
    void ShowIndex(int n);
    // Shows chapter n; false when there is no such chapter to show.
    bool PutChapter(int n);
    // The chapter shown becomes n; the chapter list follows when it differs
    // (SetShownChapter), or anyway (SelectChapter: its rows changed).
    void SetShownChapter(int n);
    void SelectChapter(int n);
    // A new place on screen: the user's move when it leaves the chapter or
    // the paragraph of the last place, unless a place is being shown.
    void NoteMove();
    // The place on screen is where a book or a place was shown.
    void ShownWhereNobodyMoved();
    void ShowText(CleanedText text);
    // Scrolls to the place's position and selects what it says.
    void ShowPosition(const ShownPlace &place);
    // The chapter on screen shown anew as the book now says (script, rules),
    // at the same line.
    void ShowAgainInPlace();
    // The chapter's own text on screen (a notice's text when it is one).
    QStringView ShownOriginal() const;
    // The stored record with the place on screen in it; nullopt without a
    // book, once saving has stopped, or when it holds that place already.
    std::optional<BookRecord> RecordWithShownPlace() const;

    BookStore &store_;
    Shelf &shelf_;
    Preferences &preferences_;
    OpenBook book_;
    ChapterListModel chapters_;
    int shownChapter_ = -1;
    CleanedText shown_;
    int topLine_ = 0;
    qsizetype topPosition_ = 0;
    // Where the book the shelf is opening will be shown.
    PlaceFinder pendingPlace_;
    // The last place the user moved to, or where a book or a place was
    // shown, and when the user moved there.
    ShownPlace lastPlace_;
    std::optional<qint64> movedAt_;
    // A place is being shown: the pane's moves are none of the user's.
    bool showingPlace_ = false;
    // The next request asks for a preview; a preview is on screen, and the
    // acts that wait for its book.
    bool previewWanted_ = false;
    bool previewing_ = false;
    QList<std::function<void()>> afterPreview_;
    bool saving_ = true;
    std::unique_ptr<SpeechEngine> speech_;
    PlaceSaver placeSaver_{*this};
    AutoScroll autoScroll_{*this};
    ReadAloud readAloud_;
    Bookmarks bookmarks_{*this};
    Highlights highlights_{*this};
    FindInBook find_{*this};
    BookEncoding encoding_{*this};
    ChapterRuleChoice ruleChoice_{*this};
    PlaceInSettings placeInSettings_{*this, preferences_};
    JumpHistory jumps_{*this};
    TextCleanup cleanup_{*this};
    ChapterEditing editing_{*this};
};
