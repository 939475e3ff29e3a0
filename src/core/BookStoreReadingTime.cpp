#include "core/BookStoreReadingTime.h"

#include "core/Log.h"

#include <QSqlQuery>

#include <optional>

namespace {

std::optional<ReadingTimeRow> RowFrom(const QSqlQuery &query)
{
    ReadingTimeRow row{query.value(0).toString(), QDate::fromString(query.value(1).toString(), Qt::ISODate),
                       query.value(2).toString(), query.value(3).toLongLong(), query.value(4).toLongLong()};
    if (row.book.isEmpty() || !row.day.isValid() || row.ms < 0 || row.characters < 0)
        return std::nullopt;
    return row;
}

} // namespace

QString CreateReadingTimeTableSql()
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS reading_time (book TEXT NOT NULL, day TEXT NOT NULL, "
                          "device TEXT NOT NULL, ms INTEGER, characters INTEGER, PRIMARY KEY (book, day, device)) "
                          "WITHOUT ROWID");
}

QSqlError WriteReadingTime(const QSqlDatabase &database, const ReadingTimeRow &row)
{
    QSqlQuery query(database);
    query.prepare(QStringLiteral("INSERT INTO reading_time (book, day, device, ms, characters) VALUES (?, ?, ?, ?, ?) "
                                 "ON CONFLICT (book, day, device) DO UPDATE SET ms = excluded.ms, "
                                 "characters = excluded.characters WHERE excluded.ms > ms"));
    for (const QVariant &value : {QVariant(row.book), QVariant(row.day.toString(Qt::ISODate)), QVariant(row.device),
                                  QVariant(row.ms), QVariant(row.characters)})
        query.addBindValue(value);
    return query.exec() ? QSqlError() : query.lastError();
}

QList<ReadingTimeRow> ReadReadingTime(const QSqlDatabase &database)
{
    QSqlQuery query(database);
    query.setForwardOnly(true);
    QList<ReadingTimeRow> rows;
    if (!query.exec(QStringLiteral("SELECT book, day, device, ms, characters FROM reading_time"))) {
        qCWarning(lcCore).noquote() << "book store: cannot read the time read -" << query.lastError().text();
        return rows;
    }
    while (query.next()) {
        if (std::optional<ReadingTimeRow> row = RowFrom(query))
            rows.append(std::move(*row));
        else
            qCWarning(lcCore) << "book store: skipping a damaged row of the time read";
    }
    return rows;
}
