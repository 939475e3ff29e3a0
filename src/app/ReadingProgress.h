#pragma once
// Where the reader is in the open book, in the strip below the pane:
// "第 n / N 章" (counted after the head item) and how far into the book's text
// the pane's first visible line lies, updated as the reader moves.
#include <QObject>
#include <QString>
#include <QTimer>

class MessageStrip;
class ReadingSession;

class ReadingProgress : public QObject {
public:
    ReadingProgress(ReadingSession &session, MessageStrip &strip, QObject *parent);

private:
    void Update();

    ReadingSession &session_;
    MessageStrip &strip_;
    // Updates once the event at hand is through: the list and the pane
    // change one after the other, and a scroll comes in many steps.
    QTimer soon_;
};

// The strip's text for chapter `chapter` of the chapters 0..lastChapter, the
// first visible line `position` characters into a text of `length`.
QString ProgressText(int chapter, int lastChapter, qsizetype position, qsizetype length);
