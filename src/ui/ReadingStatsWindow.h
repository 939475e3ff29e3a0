#pragma once
// 阅读统计: the time read today, this week, this year and in all, the days
// read in a row, the last days as bars, and the books by time read with how
// far each is read. It shows what it is given (ReadingTotals) and changes
// nothing; Esc closes it.
#include "core/BookProgress.h"
#include "core/ReadingTime.h"

#include <QDialog>

class QLabel;
class QListWidget;
class DayBars;

// A book as the list shows it: its name, its time, how far it is read
// (BookProgress.h) and where ("读到：第三章"; none when not known).
struct ReadBook {
    QString name;
    qint64 ms = 0;
    int progress = kProgressNotKnown;
    QString place;
};

class ReadingStatsWindow : public QDialog {
    Q_OBJECT
public:
    explicit ReadingStatsWindow(QWidget *parent);

    // Shows them in front, the totals of the days up to `today`.
    void Show(const ReadingTotals &totals, const QList<ReadBook> &books, const QDate &today);

private:
    QLabel *sums_;
    DayBars *days_;
    QListWidget *books_;
};

// "N 分钟", or "H 小时 M 分钟" from an hour on.
QString DurationText(qint64 ms);
