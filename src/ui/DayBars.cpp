#include "ui/DayBars.h"

#include <QPainter>

#include <algorithm>

DayBars::DayBars(QWidget *parent) : QWidget(parent)
{
    setMinimumSize(360, 140);
    setAccessibleName(QStringLiteral("近 30 天"));
}

void DayBars::SetDays(const QList<qint64> &ms, const QDate &last)
{
    ms_ = ms;
    last_ = last;
    const qsizetype read = std::count_if(ms.cbegin(), ms.cend(), [](qint64 day) { return day > 0; });
    setAccessibleDescription(QStringLiteral("%1 天中读了 %2 天").arg(ms.size()).arg(read));
    update();
}

void DayBars::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    const QColor ink = palette().color(QPalette::WindowText);
    const int labelHeight = fontMetrics().height() + 4;
    const QRect chart = rect().adjusted(4, 4, -4, -labelHeight);
    if (ms_.isEmpty() || chart.height() <= 0)
        return;
    const qint64 most = std::max<qint64>(1, *std::max_element(ms_.cbegin(), ms_.cend()));
    const double step = double(chart.width()) / double(ms_.size());
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    for (qsizetype i = 0; i < ms_.size(); ++i) {
        const int height = int(double(chart.height()) * double(ms_[i]) / double(most));
        const QRectF bar(chart.left() + double(i) * step + 1, chart.bottom() - height, std::max(1.0, step - 2), height);
        painter.drawRect(bar);
    }
    painter.setPen(ink);
    const QRect labels(chart.left(), chart.bottom() + 2, chart.width(), labelHeight);
    const QString format = QStringLiteral("M月d日");
    painter.drawText(labels, Qt::AlignLeft, last_.addDays(1 - ms_.size()).toString(format));
    painter.drawText(labels, Qt::AlignRight, last_.toString(format));
}
