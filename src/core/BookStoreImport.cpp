#include "core/BookStoreImport.h"

#include "core/BookRecordJson.h"
#include "core/BookStoreTable.h"
#include "core/Log.h"
#include "core/SafeFile.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

namespace {

bool InsertRecords(const QSqlDatabase &database, const QMap<QString, BookRecord> &records)
{
    QSqlQuery transaction(database);
    QSqlQuery insert(database);
    bool written = transaction.exec(QStringLiteral("BEGIN IMMEDIATE"))
        && insert.prepare(InsertRecordSql(QLatin1StringView("IGNORE")));
    for (auto record = records.cbegin(); written && record != records.cend(); ++record) {
        BindRecord(insert, record.key(), record.value());
        written = insert.exec();
    }
    if (written && transaction.exec(QStringLiteral("COMMIT")))
        return true;
    qCWarning(lcCore).noquote() << "book store: importing books.json failed:"
                                << (insert.lastError().isValid() ? insert : transaction).lastError().text();
    transaction.exec(QStringLiteral("ROLLBACK"));
    return false;
}

void Rename(const QString &from, const QString &to)
{
    QFile::remove(to);
    if (!QFile::rename(from, to))
        qCWarning(lcCore) << "book store: cannot rename" << from << "to" << to;
}

} // namespace

void ImportJsonStore(const QSqlDatabase &database, const QString &jsonPath)
{
    if (!QFile::exists(jsonPath))
        return;
    const std::optional<QByteArray> bytes = ReadWholeFile(jsonPath);
    if (!bytes)
        return;
    const std::optional<QMap<QString, BookRecord>> records = BookRecordsFromJson(*bytes);
    if (!records) {
        qCWarning(lcCore) << "book store: setting aside" << jsonPath << "as .bad: it is not a book store";
        Rename(jsonPath, jsonPath + QStringLiteral(".bad"));
        return;
    }
    if (!InsertRecords(database, *records))
        return;
    qCInfo(lcCore) << "book store: imported" << records->size() << "records from" << jsonPath;
    Rename(jsonPath, jsonPath + QStringLiteral(".imported"));
}
