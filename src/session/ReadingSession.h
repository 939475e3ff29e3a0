#pragma once
// The reading session: the open book, the chapter view that shows it (the
// chapter list 列表框_章节 and the pane 编辑框_内容), the last search in it,
// and saving where the reader is in it. The window's handlers call it. It
// opens books through the shelf and shows each one once, at its place, when
// the shelf hands it over; until then the book before stays whole on screen.
#include "core/BookRecord.h"
#include "core/OpenBook.h"
#include "platform/SpeechEngine.h"
#include "reader/BookFind.h"
#include "session/AutoScroll.h"
#include "session/PlaceSaver.h"
#include "session/ReadAloud.h"

#include <QObject>
#include <functional>

class BookStore;
class EditBox;
class ListBox;
class ListWindow;
class QWidget;
class Shelf;
struct BookRequest;

// Where a book is shown once it is handed over: a chapter, and the pane
// scrolled that many lines down, or, when a position is given, to the line
// that holds that position of the chapter's text.
struct ShownPlace {
    int chapter = 0;
    int line = 0;
    qsizetype position = -1;
};
// Finds that place in the book just handed over.
using PlaceFinder = std::function<ShownPlace(const OpenBook &book)>;
// The place a book's record remembers: its chapter, found by title when the
// number names another, and its position there (else its line).
ShownPlace PlaceIn(const OpenBook &book, const BookRecord &record);

class ReadingSession : public QObject {
    Q_OBJECT
public:
    ReadingSession(BookStore &store, Shelf &shelf, ListBox &chapterList, EditBox &pane, ListWindow &findWindow,
                   QObject *parent = nullptr);

    const OpenBook &Book() const { return book_; }
    bool HasBook() const { return !book_.fileName.isEmpty(); }
    BookStore &Store() const { return store_; }
    Shelf &BookShelf() const { return shelf_; }
    ListBox &ChapterList() const { return chapterList_; }
    EditBox &Pane() const { return pane_; }
    AutoScroll &Scrolling() { return autoScroll_; }
    const AutoScroll &Scrolling() const { return autoScroll_; }
    ReadAloud &Aloud() { return readAloud_; }
    const ReadAloud &Aloud() const { return readAloud_; }
    // The chapter selected in the chapter list, -1 for none.
    int ShownChapter() const;

    // Opens the book at that row of the book list, to be shown at `place`.
    // Returns whether its load began.
    bool OpenBookAt(int row, PlaceFinder place);
    // A user's choice in the book list: the place in the book on screen is
    // saved and the chosen book opens where the reader stopped in it (a book
    // never read: chapter 0).
    void OnBookSelected(int row);
    // "打开文件": saves the place in the book on screen and lists the folder
    // chosen over `window`.
    void OnChooseBookFolder(QWidget *window);
    // A book file opened from outside the book list (the command line,
    // another start, a drop, 最近阅读), given as an absolute path: the place
    // in the book on screen is saved and the book opens as a book of its
    // folder, which becomes the book folder, where the reader stopped in it.
    // Returns whether its load began.
    bool OnOpenBookFile(const QString &path);
    // A folder given from outside: saves the place in the book on screen and
    // lists that folder as the book folder.
    void OnOpenFolder(const QString &folder);
    // The place the open book's record remembers, chapter 0 without one.
    PlaceFinder OwnPlace() const;
    // The open book read again from its file, or only cut into chapters
    // again, with the choices its record now holds, and shown at `place`.
    void ReadAgain(PlaceFinder place);
    void CutAgain(PlaceFinder place);

    // Handlers of the chapter view; see reader/ChapterNavigation.h.
    void OnChapterSelected();
    void OnContentKeyUp(int virtualKey, int modifiers);
    void OnContentPagedPast(int direction);
    void OnChapterListKeyUp(int virtualKey, int modifiers);
    void OnRestoreRemovedHeadings();
    // Handlers of the find window; see reader/BookFind.h.
    void OnSearch(const QString &term);
    void OnHitPicked(int index);
    void OnFindAgain(int direction);

    // 简体 / 繁体 / 原文 with a book open: its chapters are shown in that
    // script (none: its own characters) from the one on screen on, at the
    // same line, and the book keeps the choice.
    void OnChooseScript(std::optional<ScriptConversion> script);
    // Saves the place in the book on screen to the store when it differs
    // from the one stored; as a move of the user's only when MovedSinceShown.
    // Does nothing without a book or once saving has stopped.
    void SaveShownPlace();
    // Saves the place on screen as SaveShownPlace does, but as no move of the
    // user's (BookStore::PutUnmarked): the place a record gave, as measured
    // on this screen.
    void SettleShownPlace();
    // The place on screen: the chapter shown, its first visible line and
    // where that line starts.
    ShownPlace PlaceOnScreen() const;
    // Whether the user has moved away from the place the book was shown at
    // (or ShowPlace last showed): another chapter, or another paragraph.
    bool MovedSinceShown() const;
    // Shows the open book at `place`, which becomes its place as shown and,
    // unmarked, as stored.
    void ShowPlace(const ShownPlace &place);
    // The window is closing: the place is saved a last time and loads stop.
    void Close();

Q_SIGNALS:
    // A book was handed over and is on screen at its place; it heads the
    // store's list of books read last.
    void bookShown();
    // The newest opening failed; the book on screen stays.
    void openFailed();
    // The chapter on screen was shown anew in another script.
    void scriptChanged();

private:
    BookRequest RequestFor(const QString &folder, const QString &fileName, const OpenBook *reindex) const;
    void OnBookOpened(const OpenBook &book);
    // The stored record with the place on screen in it; nullopt without a
    // book, once saving has stopped, or when it holds that place already.
    std::optional<BookRecord> RecordWithShownPlace() const;

    BookStore &store_;
    Shelf &shelf_;
    ListBox &chapterList_;
    EditBox &pane_;
    ListWindow &findWindow_;
    OpenBook book_;
    FindState find_;
    // Where the book the shelf is opening will be shown.
    PlaceFinder pendingPlace_;
    // Where the book was shown when handed over (or by ShowPlace).
    ShownPlace shownAt_;
    bool saving_ = true;
    PlaceSaver placeSaver_{*this};
    AutoScroll autoScroll_{*this};
    // The speech service starts only when 朗读 is first asked for.
    std::unique_ptr<SpeechEngine> speech_ = CreateSpeechEngine();
    ReadAloud readAloud_{*this, *speech_};
};
