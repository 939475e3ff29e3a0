#include "app/ReadingStatsMenu.h"

#include "app/MenuItem.h"
#include "app/ReadingTimeKeeping.h"
#include "core/BookKey.h"
#include "core/BookProgress.h"
#include "core/BookStore.h"
#include "ui/ReadingStatsWindow.h"

#include <QDate>

namespace {

// Each book's name and time, and how far it is read as its record tells.
QList<ReadBook> BooksOf(const ReadingTotals &totals, BookStore &store)
{
    QList<ReadBook> books;
    for (const auto &[key, ms] : totals.books) {
        const std::optional<BookRecord> record = store.Find(key);
        const QString title = record ? record->chapterTitle.trimmed() : QString();
        books.append({BookNameInKey(key), ms, record ? record->progress : kProgressNotKnown,
                      title.isEmpty() ? QString() : QStringLiteral("读到：") + title});
    }
    return books;
}

void OnShowReadingStats(ReadingTimeKeeping &timeKeeping, BookStore &store, QWidget *window)
{
    auto *shown = window->findChild<ReadingStatsWindow *>(QString(), Qt::FindDirectChildrenOnly);
    if (!shown)
        shown = new ReadingStatsWindow(window);
    shown->setPalette(window->palette());
    const QDate today = QDate::currentDate();
    const ReadingTotals totals = ReadingTotalsOf(timeKeeping.CountedRows(), today);
    shown->Show(totals, BooksOf(totals, store), today);
}

} // namespace

void AddReadingStatsItem(QMenu *reading, ReadingTimeKeeping &timeKeeping, BookStore &store, QWidget *window)
{
    AddMenuItem(reading, QStringLiteral("阅读统计…"),
                [&timeKeeping, &store, window] { OnShowReadingStats(timeKeeping, store, window); });
}
