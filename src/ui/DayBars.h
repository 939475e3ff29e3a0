#pragma once
// A bar for each day, the oldest left, drawn in the widget's text colour on
// its window colour, the highest bar filling the height; the first and last
// days' dates under them. Its accessible description tells the bars in words.
#include <QDate>
#include <QList>
#include <QWidget>

class DayBars : public QWidget {
public:
    explicit DayBars(QWidget *parent);

    // `ms` for each day up to `last`, the oldest first.
    void SetDays(const QList<qint64> &ms, const QDate &last);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<qint64> ms_;
    QDate last_;
};
