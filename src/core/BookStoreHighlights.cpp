#include "core/BookStoreHighlights.h"

#include "core/BookStoreTable.h"
#include "core/Log.h"

#include <QSqlQuery>

#include <optional>

namespace {

// In the order WriteHighlight binds them after the book and HighlightFromRow
// reads them.
const char kHighlightColumns[] = "start, \"end\", text, colour, note, created, changed, deleted";

QSqlError WriteHighlight(QSqlQuery &insert, const QString &key, const Highlight &highlight)
{
    const QVariant values[] = {key,
                               highlight.start,
                               highlight.end,
                               highlight.text,
                               int(highlight.colour),
                               highlight.note,
                               highlight.created,
                               highlight.changed,
                               highlight.deleted};
    for (int i = 0; i < int(std::size(values)); ++i)
        insert.bindValue(i, values[i]);
    return insert.exec() ? QSqlError() : insert.lastError();
}

std::optional<Highlight> HighlightFromRow(const QSqlQuery &row)
{
    bool startIsNumber = false;
    bool endIsNumber = false;
    bool colourIsNumber = false;
    const qsizetype start = row.value(0).toLongLong(&startIsNumber);
    const qsizetype end = row.value(1).toLongLong(&endIsNumber);
    const int colour = row.value(3).toInt(&colourIsNumber);
    const QString text = row.value(2).toString();
    const bool valid = startIsNumber && endIsNumber && colourIsNumber && start >= 0 && end == start + text.size()
        && !text.isEmpty() && colour >= 0 && colour < kHighlightColourCount;
    if (!valid)
        return std::nullopt;
    return Highlight{start,
                     end,
                     text,
                     HighlightColour(colour),
                     row.value(4).toString(),
                     row.value(5).toLongLong(),
                     row.value(6).toLongLong(),
                     row.value(7).toLongLong()};
}

} // namespace

QString CreateHighlightTableSql()
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS highlights (book TEXT NOT NULL, start INTEGER, \"end\" INTEGER, "
                          "text TEXT, colour INTEGER, note TEXT, created INTEGER, changed INTEGER NOT NULL DEFAULT 0, "
                          "deleted INTEGER NOT NULL DEFAULT 0)");
}

QSqlError WriteHighlights(const QSqlDatabase &database, const QString &key, const QList<Highlight> &highlights)
{
    QSqlDatabase writing = database;
    if (!writing.transaction())
        return writing.lastError();
    QSqlQuery query(writing);
    query.prepare(QStringLiteral("DELETE FROM highlights WHERE book = ?"));
    query.addBindValue(key);
    if (!query.exec())
        return RolledBack(writing, query);
    query.prepare(QStringLiteral("INSERT INTO highlights (book, %1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
                      .arg(QLatin1StringView(kHighlightColumns)));
    for (const Highlight &highlight : highlights) {
        if (WriteHighlight(query, key, highlight).isValid())
            return RolledBack(writing, query);
    }
    return writing.commit() ? QSqlError() : RolledBack(writing, query);
}

QList<Highlight> ReadHighlights(const QSqlDatabase &database, const QString &key)
{
    QSqlQuery query(database);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1 FROM highlights WHERE book = ? ORDER BY start, created, rowid")
                      .arg(QLatin1StringView(kHighlightColumns)));
    query.addBindValue(key);
    QList<Highlight> highlights;
    if (!query.exec()) {
        qCWarning(lcCore).noquote() << "book store: cannot read the highlights of" << LoggedPath(key) << "-"
                                    << query.lastError().text();
        return highlights;
    }
    while (query.next()) {
        if (std::optional<Highlight> highlight = HighlightFromRow(query))
            highlights.append(std::move(*highlight));
        else
            qCWarning(lcCore).noquote() << "book store: skipping a damaged highlight of" << LoggedPath(key);
    }
    return highlights;
}
