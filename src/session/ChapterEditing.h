#pragma once
// 编辑本章: the chapter on screen edited in the pane as the book file holds it
// (no script conversion, no paragraph rules), and saved back into the file
// (EditedBookFile.h) on a thread of the pool. After a save the book is read
// again and shown where the edit was; its bookmarks and removed headings
// behind the edited stretch move with it.
//
// While an edit is open the pane is the editor's. Should the session show
// another text in it (another chapter or book picked, a book read again), the
// edit ends; its changes are kept, for that chapter of that book while its
// text is the same, until F2 there takes them up again or the reader closes.
#include "core/EditedBookFile.h"
#include "core/OpenBook.h"

#include <QFutureWatcher>
#include <QObject>

#include <functional>
#include <optional>

class ReadingSession;

class ChapterEditing : public QObject {
    Q_OBJECT
public:
    explicit ChapterEditing(ReadingSession &session);

    // Where the edited text comes from (the pane, LF line ends); asked for
    // when saving, leaving or keeping the changes.
    void SetTextSource(std::function<QString()> source);

    bool IsOpen() const { return open_.has_value(); }
    bool IsSaving() const { return saving_.isRunning(); }
    // Whether the edited text differs from the chapter's.
    bool HasChanges() const;

    // F2: the chapter shown is edited, from the line on top; nothing without
    // a chapter, while an edit is open or a book loads.
    void Begin();
    // Ctrl+S: the changes are written into the book file; a character its
    // encoding cannot hold, a file changed on disk or a failed write refuse
    // the save (a message says why) and the edit stays open.
    void Save();
    // Esc, once the user agreed: the edit ends unsaved and the chapter is
    // shown again at the line on top.
    void Leave();
    // The session is about to show another text in the pane.
    void OnPaneTaken();

Q_SIGNALS:
    // The pane is to edit `text`, with its position `top` on top; it is the
    // reader's again once editing ended.
    void editingBegan(const QString &text, qsizetype top);
    void editingEnded();
    // A save runs: the pane takes no typing meanwhile.
    void savingChanged(bool saving);
    // For the strip below the pane.
    void message(const QString &text);

private:
    // An edit of chapter `chapter`, which stood at `range` of the book read
    // from `file` (its path, facts, encoding and text).
    struct Edit {
        QString bookKey;
        int chapter = 0;
        TextRange range;
        QString original;
        BookEdit file;
    };
    // Changes left when the pane was taken: the book, where the chapter stood
    // and its text then, and the edited text.
    struct Draft {
        QString bookKey;
        qsizetype start = 0;
        QString original;
        QString edited;
    };

    std::optional<Edit> EditOfShownChapter() const;
    // The changes left for the chapter now open, taken out of the drafts.
    std::optional<QString> TakeDraft();
    // A save into that book moves the drafts behind the change with it.
    void MoveDrafts(const QString &bookKey, const TextChange &change);
    QString EditedText() const;
    // Why `edited` cannot be saved in the file's encoding; empty text when it can.
    QString UnencodableText(const QString &edited) const;
    void OnSaved();
    // The book read again after a save, shown where the edit's top line was.
    void FollowSavedEdit(const TextChange &change, qsizetype bookPosition);
    void Close();

    ReadingSession &session_;
    std::function<QString()> textSource_;
    std::optional<Edit> open_;
    QList<Draft> drafts_;
    QFutureWatcher<BookSaveResult> saving_;
    // What the running save changes, in which book, and the book position
    // on top of the pane when it began.
    TextChange savedChange_;
    QString savedBookKey_;
    qsizetype savedTop_ = 0;
};
