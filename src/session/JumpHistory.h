#pragma once
// 返回 and 前进: the places the reader jumped away from (a find, a bookmark,
// 跳转到章节, another book opened from outside the list, another computer's
// place), kept for the session, the newest 20. Back goes to the place before
// the last jump and keeps the place it leaves for Forward; a new jump drops
// what Forward held.
#include <QList>
#include <QObject>
#include <QString>

class ReadingSession;

// A place in a book: its file and a position in a chapter's text.
struct JumpPlace {
    QString path;
    int chapter = 0;
    qsizetype position = 0;

    bool operator==(const JumpPlace &) const = default;
};

class JumpHistory : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype kKept = 20;

    explicit JumpHistory(ReadingSession &session);

    // The reader is about to jump away from the place on screen (none
    // without a book).
    void NoteJumpFromHere();
    bool CanGoBack() const { return !back_.isEmpty(); }
    bool CanGoForward() const { return !forward_.isEmpty(); }
    void GoBack();
    void GoForward();

Q_SIGNALS:
    void changed();

private:
    // Leaves the place on screen for `keep` and goes to the newest place of
    // `from`.
    void Go(QList<JumpPlace> &from, QList<JumpPlace> &keep);
    void GoTo(const JumpPlace &place);
    std::optional<JumpPlace> Here() const;

    ReadingSession &session_;
    QList<JumpPlace> back_;
    QList<JumpPlace> forward_;
};
