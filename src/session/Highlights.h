#pragma once
// Highlights (高亮) and notes (笔记) on the open book, kept in the book store
// by position in the book's own text (Highlight.h), shown in the pane as
// the chapter on screen has them. The pane reports selections and clicks in
// its own positions (those of ReadingSession::ShownText); a highlight found
// no more where it was, the file having changed, is kept and listed as 未找到.
// The notes window (笔记) shows the list `listChanged` gives and reports
// picks and deletions.
#include "core/Highlight.h"
#include "core/NotesMarkdown.h"

#include <QObject>
#include <QStringList>

#include <functional>

class ReadingSession;

// A highlight of the chapter on screen, in positions of the shown text.
struct ShownHighlight {
    qsizetype position = 0;
    qsizetype length = 0;
    HighlightColour colour = HighlightColour::Yellow;

    bool operator==(const ShownHighlight &) const = default;
};

class Highlights : public QObject {
    Q_OBJECT
public:
    explicit Highlights(ReadingSession &session);

    // The open book's highlights in book order, as kept (the deleted ones
    // left out); the indices below count in it.
    QList<Highlight> InOrder() const;

    // Whether the shown text [from, to) can be highlighted: a chapter of a
    // book is shown (not a preview of it), not being edited, and the stretch
    // holds more than blanks.
    bool CanHighlight(qsizetype from, qsizetype to) const;
    // Highlights the shown text [from, to); returns its index, or -1 when
    // CanHighlight says no.
    int Add(qsizetype from, qsizetype to, HighlightColour colour, const QString &note = {});
    // The highlight the shown position lies in (the last made of several);
    // -1 for none.
    int At(qsizetype shownPosition) const;
    // Changes or removes one; an index out of range changes nothing.
    // A change or removal is a change of the user's, made now: a removed
    // highlight is kept as deleted (Highlight.h).
    void SetNote(int index, const QString &note);
    void SetColour(int index, HighlightColour colour);
    void Remove(int index);
    // The highlights of the chapter shown, where the pane shows them; none on
    // a preview.
    QList<ShownHighlight> Shown() const;

    // The list for the notes window, told through listChanged: chapter,
    // colour, excerpt and the start of the note, or 未找到 for a highlight
    // whose text is gone.
    void List();
    // A pick in the list: its chapter shown with the highlighted text
    // selected; one not found shows nothing.
    void OnPicked(int index);
    // Delete in the list: that highlight is removed.
    void OnDeleted(int index) { Remove(index); }
    // The store's list changed from elsewhere (merged with another
    // computer's): the pane and the list show it anew.
    void ShowAgain();
    // The highlights for 导出 Markdown…, in book order with their chapters.
    QList<ExportedHighlight> Exported() const;

Q_SIGNALS:
    // The open book's highlights changed: the pane marks Shown() anew.
    void changed();
    void listChanged(const QStringList &lines, const QString &summary);

private:
    // The open book's highlights as stored, the deleted ones among them.
    QList<Highlight> Stored() const;
    // Changes the highlight at `index` of InOrder() and stores the list.
    void Change(int index, const std::function<void(Highlight &)> &change);
    // The shown highlights with their indices.
    QList<std::pair<int, ShownHighlight>> ShownWithIndices(const QList<Highlight> &highlights) const;
    void Replace(const QList<Highlight> &highlights);

    ReadingSession &session_;
};
