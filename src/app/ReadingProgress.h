#pragma once
// Where the reader is in the open book, in the strip below the pane:
// "第 n / N 章" (the book's numbered chapters: neither the head item nor 目录
// is one) and how far into the book's text the pane's first visible line
// lies, updated as the reader moves.
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

// The strip's text for the chapter numbered `number` of `chapters` (0: an
// item that is none, told as "共 N 章"; a book without chapters tells only the
// share), the first visible line `position` characters into a text of
// `length`.
QString ProgressText(int number, int chapters, qsizetype position, qsizetype length);
