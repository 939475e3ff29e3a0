#include "ui/ReadingStatsWindow.h"

#include "ui/DayBars.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

QString DurationText(qint64 ms)
{
    const qint64 minutes = ms / 60'000;
    if (minutes < 60)
        return QStringLiteral("%1 分钟").arg(minutes);
    return QStringLiteral("%1 小时 %2 分钟").arg(minutes / 60).arg(minutes % 60);
}

ReadingStatsWindow::ReadingStatsWindow(QWidget *parent)
    : QDialog(parent), sums_(new QLabel(this)), days_(new DayBars(this)), books_(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("阅读统计"));
    sums_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    books_->setAccessibleName(QStringLiteral("按阅读时间排列的书"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(sums_);
    layout->addWidget(new QLabel(QStringLiteral("近 30 天"), this));
    layout->addWidget(days_);
    layout->addWidget(new QLabel(QStringLiteral("书（按阅读时间）"), this));
    layout->addWidget(books_);
    resize(480, 520);
}

void ReadingStatsWindow::Show(const ReadingTotals &totals, const QList<ReadBook> &books, const QDate &today)
{
    sums_->setText(QStringLiteral("今天：%1\n本周：%2\n今年：%3\n累计：%4\n连续阅读：%5 天")
                       .arg(DurationText(totals.todayMs), DurationText(totals.weekMs), DurationText(totals.yearMs),
                            DurationText(totals.allMs), QString::number(totals.daysInARow)));
    days_->SetDays(totals.lastDaysMs, today);
    books_->clear();
    for (const ReadBook &book : books) {
        const QString place = book.place.isEmpty() ? QString() : QStringLiteral("    ") + book.place;
        books_->addItem(QStringLiteral("%1    %2    %3%4")
                            .arg(book.name, DurationText(book.ms), ProgressLabel(book.progress), place));
    }
    if (books.isEmpty())
        books_->addItem(QStringLiteral("还没有阅读记录"));
    show();
    raise();
    activateWindow();
}
