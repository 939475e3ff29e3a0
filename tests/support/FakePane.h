#pragma once
// A stand-in for the reading pane, without widgets: it shows the session's
// text with one display line per line of the text (no wrapping), scrolls as
// the session asks, and reports every move of its first visible line back to
// the session, as the real pane does.
#include <QList>
#include <QObject>
#include <QString>

class ReadingSession;

class FakePane : public QObject {
public:
    // Lines the pane shows at once, for scrolling to the end.
    static constexpr int kLinesOnScreen = 5;

    explicit FakePane(ReadingSession &session);

    const QString &Text() const { return text_; }
    int TopLine() const { return top_; }
    // The stretch last selected, as position and length; {-1, 0} for none.
    QPair<qsizetype, qsizetype> Selection() const { return selection_; }
    // Scrolls by whole lines, as the user's wheel does.
    void ScrollLines(int lines);

private:
    void Show(const QString &text);
    void ScrollToPosition(qsizetype position);
    void ScrollTo(int line);
    int LastTop() const;

    ReadingSession &session_;
    QString text_;
    QList<qsizetype> lineStarts_{0};
    int top_ = 0;
    QPair<qsizetype, qsizetype> selection_{-1, 0};
};
