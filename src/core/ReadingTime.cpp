#include "core/ReadingTime.h"

#include <QHash>
#include <QMap>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

QString RowKey(const ReadingTimeRow &row)
{
    return row.book + QChar(0) + row.day.toString(Qt::ISODate) + QChar(0) + row.device;
}

QMap<QDate, qint64> MsByDay(const QList<ReadingTimeRow> &rows)
{
    QMap<QDate, qint64> days;
    for (const ReadingTimeRow &row : rows)
        days[row.day] += row.ms;
    return days;
}

int DaysInARow(const QMap<QDate, qint64> &days, const QDate &today)
{
    QDate day = days.value(today) > 0 ? today : today.addDays(-1);
    int count = 0;
    while (days.value(day) > 0) {
        ++count;
        day = day.addDays(-1);
    }
    return count;
}

QList<std::pair<QString, qint64>> MsByBook(const QList<ReadingTimeRow> &rows)
{
    QHash<QString, qint64> books;
    for (const ReadingTimeRow &row : rows)
        books[row.book] += row.ms;
    QList<std::pair<QString, qint64>> sorted;
    for (auto book = books.cbegin(); book != books.cend(); ++book)
        sorted.append({book.key(), *book});
    std::sort(sorted.begin(), sorted.end(), [](const auto &a, const auto &b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    return sorted;
}

} // namespace

QList<ReadingTimeRow> MergedReadingTime(const QList<ReadingTimeRow> &ours, const QList<ReadingTimeRow> &theirs)
{
    QList<ReadingTimeRow> merged;
    QHash<QString, qsizetype> at;
    for (const QList<ReadingTimeRow> *rows : {&ours, &theirs}) {
        for (const ReadingTimeRow &row : *rows) {
            const auto found = at.constFind(RowKey(row));
            if (found == at.constEnd()) {
                at.insert(RowKey(row), merged.size());
                merged.append(row);
            } else if (row.ms > merged[*found].ms) {
                merged[*found] = row;
            }
        }
    }
    return merged;
}

double ReadingSpeed(const QList<ReadingTimeRow> &rows)
{
    std::map<QDate, std::pair<qint64, qint64>> days; // ms, characters
    for (const ReadingTimeRow &row : rows) {
        days[row.day].first += row.ms;
        days[row.day].second += row.characters;
    }
    qint64 ms = 0;
    qint64 characters = 0;
    for (auto day = days.crbegin(); day != days.crend() && ms < kSpeedSpanMs; ++day) {
        ms += day->second.first;
        characters += day->second.second;
    }
    return ms < kLeastSpeedDataMs ? kDefaultSpeed : double(characters) * 60'000 / double(ms);
}

qint64 MinutesToRead(qsizetype characters, double speed)
{
    if (characters <= 0 || !(speed > 0))
        return 0;
    return qint64(std::ceil(double(characters) / speed));
}

ReadingTotals ReadingTotalsOf(const QList<ReadingTimeRow> &rows, const QDate &today)
{
    const QMap<QDate, qint64> days = MsByDay(rows);
    ReadingTotals totals;
    const QDate monday = today.addDays(1 - today.dayOfWeek());
    for (auto day = days.cbegin(); day != days.cend(); ++day) {
        totals.allMs += *day;
        totals.todayMs += day.key() == today ? *day : 0;
        totals.weekMs += day.key() >= monday && day.key() <= today ? *day : 0;
        totals.yearMs += day.key().year() == today.year() && day.key() <= today ? *day : 0;
    }
    for (int back = ReadingTotals::kChartDays - 1; back >= 0; --back)
        totals.lastDaysMs.append(days.value(today.addDays(-back)));
    totals.daysInARow = DaysInARow(days, today);
    totals.books = MsByBook(rows);
    return totals;
}
