#pragma once
// Where the reader is in the open book, in the strip below the pane:
// "第 n / N 章" (the book's numbered chapters: neither the head item nor 目录
// is one) and how far into the book's text the pane's first visible line
// lies, updated as the reader moves; and the time the chapter's rest takes
// at the reader's speed (ReadingTimeKeeping), the whole book's rest in the
// strip's tooltip.
#include <QObject>
#include <QString>
#include <QTimer>

class MessageStrip;
class ReadingSession;
class ReadingTimeKeeping;

class ReadingProgress : public QObject {
public:
    ReadingProgress(ReadingSession &session, MessageStrip &strip, ReadingTimeKeeping &timeKeeping, QObject *parent);

private:
    void Update();

    ReadingSession &session_;
    MessageStrip &strip_;
    ReadingTimeKeeping &timeKeeping_;
    // Updates once the event at hand is through: the list and the pane
    // change one after the other, and a scroll comes in many steps.
    QTimer soon_;
};

// The strip's text for the chapter numbered `number` of `chapters` (0: an
// item that is none, told as "共 N 章"; a book without chapters tells only the
// share), the first visible line at `progress` (BookProgress.h).
QString ProgressText(int number, int chapters, int progress);
// "本章约剩 N 分钟" for `characters` left at `speed` characters a minute;
// empty for nothing left.
QString ChapterTimeLeftText(qsizetype characters, double speed);
// "全书约剩 …" likewise, in hours and minutes.
QString BookTimeLeftText(qsizetype characters, double speed);
